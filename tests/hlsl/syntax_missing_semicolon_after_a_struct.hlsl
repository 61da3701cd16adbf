// kind: syntax
// profile: ps_2_0 main
// expect: fails syntax error
struct S { float a; }
float4 main() : COLOR { return 1; }
