// kind: profile
// profile: ps_2_0 main
// expect: fails tex2Dlod
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2Dlod(s, float4(uv, 0, 0)); }
