// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 808080
float noise(float2 uv) { return 0.5; }
float4 main(float2 uv : TEXCOORD0) : COLOR { return noise(uv); }
