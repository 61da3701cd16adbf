// kind: message
// profile: ps_2_0 main
// expect: fails no matching overloaded function
float twice(float x) { return x * 2; }
float4 main() : COLOR { return twice(1, 2); }
