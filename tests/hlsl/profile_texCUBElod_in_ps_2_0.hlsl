// kind: profile
// profile: ps_2_0 main
// expect: fails texCUBElod
samplerCUBE s;
float4 main(float3 d : TEXCOORD0) : COLOR { return texCUBElod(s, float4(d, 1)); }
