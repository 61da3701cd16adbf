// kind: intrinsic
// profile: ps_2_0 main
// expect: fails noise
float4 main(float2 uv : TEXCOORD0) : COLOR { return noise(uv); }
