// kind: constant
// profile: ps_2_0 main
// expect: renders
// set palette 1 0 0 1 0 1 0 1 0.25 0.5 0.75 1
// at 500 250 4080BF
float4 palette[3];
float4 main() : COLOR { return palette[2]; }
