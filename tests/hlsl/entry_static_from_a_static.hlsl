// kind: entry
// profile: ps_2_0 main
// expect: renders
// at 500 250 4080BF
static float a = 0.25;
static float b = a * 2;
float4 main() : COLOR { return float4(a, b, a + b, 1); }
