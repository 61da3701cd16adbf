// kind: syntax
// profile: ps_2_0 main
// expect: fails implicit array missing initial value
float weights[];
float4 main(float4 c : COLOR0) : COLOR { return c * weights[0]; }
