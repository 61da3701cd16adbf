// kind: constant
// profile: ps_2_0 main
// expect: renders
// set noise 0.5
// at 500 250 808080
float noise;
float4 main() : COLOR { return noise; }
