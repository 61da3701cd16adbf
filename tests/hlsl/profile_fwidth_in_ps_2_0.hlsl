// kind: profile
// profile: ps_2_0 main
// expect: fails fwidth
float4 main(float2 uv : TEXCOORD0) : COLOR { return fwidth(uv).xyxy; }
