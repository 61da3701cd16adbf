// kind: effect
// profile: ps_2_0 main
// expect: fails shader model 4
Texture2D colourMap;
SamplerState linearSampler;
float4 main(float2 uv : TEXCOORD0) : COLOR { return colourMap.Sample(linearSampler, uv); }
