// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c0 0.25 0 0 0
// register c1 0 0.5 0 0.75
// at 500 250 4080BF
struct Pair { float a; float4 b; };
Pair p;
float4 main() : COLOR { return float4(p.a, p.b.y, p.b.w, 1); }
