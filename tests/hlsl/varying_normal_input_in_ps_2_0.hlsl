// kind: varying
// profile: ps_2_0 main
// expect: fails invalid ps_2_0 input semantic
float4 main(float3 n : NORMAL) : COLOR { return float4(n, 1); }
