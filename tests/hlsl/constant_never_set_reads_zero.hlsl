// kind: constant
// profile: ps_2_0 main
// expect: renders
// at 500 250 008000
float4 tint = { 1, 0, 0, 1 };
float4 main() : COLOR { return tint + float4(0, 0.5, 0, 1); }
