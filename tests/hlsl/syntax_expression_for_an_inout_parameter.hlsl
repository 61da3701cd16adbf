// kind: syntax
// profile: ps_2_0 main
// expect: fails l-value
void grow(inout float x) { x *= 2; }
float4 main(float4 c : COLOR0) : COLOR { grow(c.r + c.g); return c; }
