// kind: syntax
// profile: ps_2_0 main
// expect: fails syntax error
float4 main() : COLOR { return (1 + 2; }
