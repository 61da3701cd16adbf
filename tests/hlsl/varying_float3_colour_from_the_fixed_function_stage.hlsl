// kind: varying
// profile: ps_2_0 main
// expect: renders
// at 500 250 996633
float4 main(float3 c : COLOR0) : COLOR { return float4(c.bgr, 1); }
