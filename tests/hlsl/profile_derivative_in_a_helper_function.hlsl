// kind: profile
// profile: ps_2_0 main
// expect: fails ddx
float slope(float x) { return ddx(x); }
float4 main(float2 uv : TEXCOORD0) : COLOR { return slope(uv.x); }
