// kind: syntax
// profile: ps_2_0 main
// expect: fails applies only to matrices
row_major float4 v;
float4 main() : COLOR { return v; }
