// kind: syntax
// profile: ps_2_0 main
// expect: fails applies only to matrices
struct S { row_major float3 n; };
float4 main() : COLOR { S s; s.n = 1; return s.n.x; }
