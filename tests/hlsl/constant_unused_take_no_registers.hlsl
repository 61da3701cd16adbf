// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c0 1 0.5 0 1
// at 500 250 FF8000
float4 unused;
float4 used;
float4 main() : COLOR { return used; }
