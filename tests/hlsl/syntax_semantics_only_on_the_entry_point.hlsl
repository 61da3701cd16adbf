// kind: syntax
// profile: ps_2_0 main
// expect: renders
// at 500 250 660000
float twice(float x) { return x * 2; }
float4 main(float4 c : COLOR0) : COLOR { return float4(twice(c.r), 0, 0, 1); }
