// kind: syntax
// profile: ps_2_0 main
// expect: fails extern and static cannot be used together
extern static float k = 1;
float4 main(float4 c : COLOR0) : COLOR { return c * k; }
