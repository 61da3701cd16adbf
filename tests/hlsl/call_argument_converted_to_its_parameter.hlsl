// kind: call
// profile: ps_2_0 main
// expect: renders
// at 500 250 4D661A
float halved(float x);
float3 kept(float3 v) { return v; }
float halved(float x) { return x * 0.5; }
float4 main(float4 c : COLOR0) : COLOR { return float4(halved(c.zyx), kept(c).y, halved(c), 1); }
