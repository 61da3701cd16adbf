// kind: profile
// profile: ps_3_0 main
// expect: compiles
Texture2D t;
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(s, uv); }
