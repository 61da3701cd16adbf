// kind: profile
// profile: ps_2_0 main
// expect: renders
// at 500 250 0000FF
float unused(float x) { return ddx(x); }
float4 main() : COLOR { return float4(0, 0, 1, 1); }
