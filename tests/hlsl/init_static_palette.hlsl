// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 00FF80
static float3 palette[3] = { 1, 0, 0,  0, 1, 0,  0, 0, 1 };
float4 main() : COLOR { return float4(palette[1] + palette[2] * 0.5, 1); }
