// kind: entry
// profile: ps_2_0 main
// expect: renders
// at 500 250 996633
float4 main(float4 c : COLOR0) : COLOR;
float4 main(float4 c : COLOR0) : COLOR { return c.bgra; }
