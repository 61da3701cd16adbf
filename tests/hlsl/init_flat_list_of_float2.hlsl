// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 4080BF
static const float2 k[2] = { 0.25, 0.5, 0.75, 1.0 };
float4 main() : COLOR { return float4(k[0].x, k[0].y, k[1].x, 1); }
