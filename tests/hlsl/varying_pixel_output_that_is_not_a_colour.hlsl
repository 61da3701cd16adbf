// kind: varying
// profile: ps_3_0 main
// expect: fails invalid ps_3_0 output semantic
float4 main(float2 uv : TEXCOORD0) : TEXCOORD0 { return uv.xyxy; }
