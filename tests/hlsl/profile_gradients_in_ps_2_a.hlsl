// kind: profile
// profile: ps_2_a main
// expect: compiles
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2Dgrad(s, uv, ddx(uv), ddy(uv)); }
