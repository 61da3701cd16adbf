// kind: entry
// profile: ps_2_0 main
// expect: renders
// at 500 250 4099CC
float halve(float x) { return x * 0.5; }
static float g = halve(0.5);
static float3 v = normalize(float3(3, 4, 0));
float4 main() : COLOR { return float4(g, v.x, v.y, 1); }
