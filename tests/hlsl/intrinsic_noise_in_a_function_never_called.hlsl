// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 336699
float4 unused(float2 uv) { return noise(uv); }
float4 main(float4 c : COLOR0) : COLOR { return c; }
