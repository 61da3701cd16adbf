// kind: syntax
// profile: ps_2_0 main
// expect: fails integer division by zero
float4 main(float4 c : COLOR0) : COLOR { int k = 4 % (2 - 2); return c * k; }
