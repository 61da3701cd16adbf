// kind: profile
// profile: ps_2_0 main
// expect: fails ddy
float4 main(float2 uv : TEXCOORD0) : COLOR { return ddy(uv.y); }
