// kind: alias
// profile: ps_2_0 main
// expect: renders
// at 500 250 4080BF
float4 main() : SV_Target { return float4(0.25, 0.5, 0.75, 1); }
