// kind: vpos
// profile: ps_3_0 main
// expect: renders
// at 500 250 336699
float4 main(float4 p : POSITION, float4 c : COLOR0) : COLOR { return c; }
