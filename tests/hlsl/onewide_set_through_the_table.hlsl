// kind: onewide
// profile: ps_2_0 main
// expect: renders
// set m 0.2 0.4 0.6
// at 500 250 336699
float1x3 m;
float4 main() : COLOR { return float4(m[0], 1); }
