// kind: effect
// profile: ps_2_0 main
// expect: fails (6,25): error X3000: syntax error: unexpected token ';'
float4 main() : COLOR { return 1; }
technique T {
    pass P { CullMode = ; }
}
