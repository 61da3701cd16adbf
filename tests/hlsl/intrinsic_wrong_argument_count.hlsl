// kind: intrinsic
// profile: ps_2_0 main
// expect: fails no matching overloaded function
float4 main() : COLOR { return lerp(0.5, 1); }
