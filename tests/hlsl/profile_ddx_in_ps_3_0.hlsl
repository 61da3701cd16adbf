// kind: profile
// profile: ps_3_0 main
// expect: renders
// at 500 250 804000 3
float4 main(float2 uv : TEXCOORD0) : COLOR { return float4(ddx(uv.x) * 500, ddy(uv.y) * 125, 0, 1); }
