// kind: effect
// profile: ps_2_0 main
// expect: renders
// texture 0 1x1 FFFFFFFF
// at 500 250 808080
Texture first;
texture2D second;
sampler2D s = sampler_state { Texture = <second>; AddressU = Clamp; };
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(s, uv) * 0.5; }
