// kind: syntax
// profile: ps_2_0 main
// expect: fails input 'uv' has no semantic
float4 main(float2 uv) : COLOR { return uv.xyxy; }
