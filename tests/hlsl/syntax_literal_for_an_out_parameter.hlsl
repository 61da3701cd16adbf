// kind: syntax
// profile: ps_2_0 main
// expect: fails l-value
void set(out float x) { x = 1; }
float4 main() : COLOR { set(2.0); return 1; }
