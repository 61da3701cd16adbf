// kind: profile
// profile: ps_3_0 main
// expect: renders
// texture 0 2x1 FF00FF00 FFFF00FF
// at 250 250 00FF00
// at 750 250 FF00FF
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2Dlod(s, float4(uv, 0, 0)); }
