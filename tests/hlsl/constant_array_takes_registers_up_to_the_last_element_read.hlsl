// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c1 0 0.5 0 0
// register c2 0 0 1 1
// at 500 250 0080FF
float4 k[6];     // k[0] and k[1] read: c0 and c1
float4 after;    // c2, right after the last element read
float4 main() : COLOR { return k[1] + after + k[0]; }
