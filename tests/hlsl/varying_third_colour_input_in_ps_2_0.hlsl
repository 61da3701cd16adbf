// kind: varying
// profile: ps_2_0 main
// expect: fails invalid ps_2_0 input semantic
float4 main(float4 c : COLOR2) : COLOR { return c; }
