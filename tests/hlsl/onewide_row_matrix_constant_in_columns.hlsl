// kind: onewide
// profile: ps_2_0 main
// expect: renders
// register c0 0.25 9 9 9
// register c1 0.5 9 9 9
// register c3 0.75 9 9 9
// at 500 250 4080BF
float1x4 m;
float4 main() : COLOR { return float4(m[0][0], m[0][1], m[0][3], 1); }
