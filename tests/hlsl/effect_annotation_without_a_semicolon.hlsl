// kind: effect
// profile: ps_2_0 main
// expect: fails (4,38): error X3000: syntax error: unexpected token '>'
float4 tint < string UIName = "Tint" > = { 1, 0, 0, 1 };
float4 main() : COLOR { return tint; }
