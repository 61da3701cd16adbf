// kind: syntax
// profile: ps_2_0 main
// expect: fails l-value
void both(out float2 v) { v = 1; }
float4 main() : COLOR { float4 c = 0; both(c.xx); return c; }
