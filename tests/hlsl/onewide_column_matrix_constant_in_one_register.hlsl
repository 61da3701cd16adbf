// kind: onewide
// profile: ps_2_0 main
// expect: renders
// register c0 0.25 0 0.75 0
// register c1 0.5 0 0 0
// at 500 250 40BF80
float4x1 n;
float4 other;
float4 main() : COLOR { return float4(n[0][0], n[2][0], other.x, 1); }
