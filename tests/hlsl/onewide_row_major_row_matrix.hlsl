// kind: onewide
// profile: ps_2_0 main
// expect: renders
// register c0 0 0.25 0.5 0
// register c1 0.75 0 0 0
// at 500 250 4080BF
row_major float1x4 m;
float4 next;
float4 main() : COLOR { return float4(m[0][1], m[0][2], next.x, 1); }
