// kind: varying
// profile: ps_2_0 main
// expect: fails invalid ps_2_0 input semantic
float4 main(float2 uv : TEXCOORD8) : COLOR { return uv.xyxy; }
