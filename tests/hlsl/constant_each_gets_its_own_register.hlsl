// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c0 0.25 0 0 0
// register c1 0.5 0 0 0
// register c2 0 0.75 0 0
// at 500 250 4080BF
float a;
float b;
float2 c;
float4 main() : COLOR { return float4(a, b, c.y, 1); }
