// kind: constant
// profile: ps_2_0 main
// expect: fails implicitly constant
float4 tint;
float4 main() : COLOR { tint = 1; return tint; }
