// kind: entry
// profile: ps_2_0 ps_main
// expect: renders
// at 500 250 00FF00
float4 main() : COLOR { return float4(1, 0, 0, 1); }
float4 ps_main() : COLOR { return float4(0, 1, 0, 1); }
