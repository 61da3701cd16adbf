// kind: effect
// profile: ps_3_0 main
// expect: fails has no ps_3_0 instruction
Texture2D colourMap;
float4 main(float2 uv : TEXCOORD0) : COLOR { return colourMap.Load(int3(0, 0, 0)); }
