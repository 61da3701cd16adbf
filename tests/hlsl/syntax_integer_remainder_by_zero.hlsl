// kind: syntax
// profile: ps_2_0 main
// expect: fails division by zero
float4 main() : COLOR { int a = 7; int b = a % 0; return b; }
