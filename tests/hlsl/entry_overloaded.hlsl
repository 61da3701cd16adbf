// kind: entry
// profile: ps_2_0 main
// expect: fails the entry point is defined 2 times
float4 main(float4 c : COLOR0) : COLOR { return c; }
float4 main(float4 c : COLOR0, float4 d : COLOR1) : COLOR { return c + d; }
