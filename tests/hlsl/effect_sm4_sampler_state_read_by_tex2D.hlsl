// kind: effect
// profile: ps_2_0 main
// expect: renders
// texture 0 1x1 FF336699
// at 500 250 336699
SamplerState s0;
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(s0, uv); }
