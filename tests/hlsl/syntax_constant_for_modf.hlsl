// kind: syntax
// profile: ps_2_0 main
// expect: fails l-value
float4 main() : COLOR { return modf(1.5, 2.0); }
