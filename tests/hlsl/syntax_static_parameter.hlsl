// kind: syntax
// profile: ps_2_0 main
// expect: fails parameters cannot be static
float twice(static float x) { return x * 2; }
float4 main(float4 c : COLOR0) : COLOR { return twice(c.x); }
