// kind: syntax
// profile: ps_2_0 main
// expect: fails division by zero
float4 main() : COLOR { int a = 4 / 0; return a; }
