// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c1 0.75 0.5 0.25 1
// at 500 250 BF8040
float4 fixed : register(c0);
float4 next;
float4 main() : COLOR { return fixed * 0 + next; }
