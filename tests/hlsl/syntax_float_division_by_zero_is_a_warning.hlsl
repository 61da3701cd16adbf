// kind: syntax
// profile: ps_2_0 main
// expect: warns division by zero
float4 main() : COLOR { float a = 1.0 / 0.0; return saturate(a); }
