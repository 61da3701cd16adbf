// kind: constant
// profile: ps_2_0 main
// expect: renders
// setmatrix m 1 0 0 0 0.25 0.5 0.75 1 0 0 1 0 0 0 0 1
// at 500 250 4080BF
float4x4 m;
float4 main() : COLOR { return mul(float4(0, 1, 0, 0), m); }
