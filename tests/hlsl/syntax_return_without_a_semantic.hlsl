// kind: syntax
// profile: ps_2_0 main
// expect: fails missing semantics
float4 main(float2 uv : TEXCOORD0) { return uv.xyxy; }
