// kind: profile
// profile: ps_2_0 main
// expect: fails tex2Dgrad
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2Dgrad(s, uv, float2(0.01, 0), float2(0, 0.01)); }
