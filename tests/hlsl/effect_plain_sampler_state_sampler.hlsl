// kind: effect
// profile: ps_2_0 main
// expect: renders
// texture 0 2x2 FFFF0000 FF00FF00 FF0000FF FFFFFFFF
// at 250 125 FF0000
// at 750 125 00FF00
// at 250 375 0000FF
// at 750 375 FFFFFF
sampler plain = sampler_state { MinFilter = Point; MagFilter = Point; };
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(plain, uv); }
