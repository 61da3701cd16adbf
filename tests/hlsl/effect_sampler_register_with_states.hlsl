// kind: effect
// profile: ps_2_0 main
// expect: renders
// texture 0 1x1 FFFF0000
// texture 1 1x1 FF00FF00
// at 500 250 00FF00
texture t;
sampler2D second : register(s1) = sampler_state { Texture = <t>; MipFilter = None; };
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(second, uv); }
