// kind: profile
// profile: ps_2_0 main
// expect: compiles
samplerCUBE sky;
float4 main(float3 d : TEXCOORD0) : COLOR { return texCUBE(sky, d); }
