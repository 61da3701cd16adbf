// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c0 0 0.25 0 0
// register c1 0 0 0 0.75
// register c2 0.5 0 0 0
// at 500 250 4080BF
typedef row_major float3x4 Rows;
typedef Rows SameRows;
SameRows m;
float4 main() : COLOR { return float4(m[0][1], m[2][0], m[1][3], 1); }
