// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c0 0 0 0.5 0
// register c1 0.25 0 0 0
// register c2 0 0 0 0.75
// at 500 250 4080BF
float4x3 m;
float4 main() : COLOR { return float4(m[0][1], m[2][0], m[3][2], 1); }
