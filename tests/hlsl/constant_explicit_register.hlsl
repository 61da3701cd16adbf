// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c5 0 0.5 0 0
// register c0 0.25 0 0 1
// at 500 250 408000
float4 first;
float4 fixed : register(c5);
float4 main() : COLOR { return first + fixed; }
