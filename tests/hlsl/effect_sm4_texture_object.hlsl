// kind: effect
// profile: ps_2_0 main
// expect: renders
// texture 1 1x1 FF336699
// at 500 250 336699
Texture2D colourMap : register(t1);
SamplerState linearSampler;
float4 main(float2 uv : TEXCOORD0) : COLOR { return colourMap.Sample(linearSampler, uv); }
