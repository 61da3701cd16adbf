// kind: syntax
// profile: ps_2_0 main
// expect: renders
// at 500 250 806600
float4 main(float2 uv : texcoord0, float4 c : Color0) : color { return float4(uv.x, c.g, 0, 1); }
