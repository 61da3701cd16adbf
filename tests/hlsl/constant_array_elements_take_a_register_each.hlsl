// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c1 0.25 9 9 9
// register c2 0.5 9 9 9
// register c3 0.75 0 0 0
// at 500 250 4080BF
float weights[3];
float4 after;
float4 main() : COLOR { return float4(weights[1], weights[2], after.x, 1); }
