// kind: message
// profile: ps_2_0 main
// expect: renders
// at 500 250 804000
#define STRENGTH 0.5
#define TINT(c) float4((c) * STRENGTH, 1)
float4 main() : COLOR { return TINT(float3(1, 0.5, 0)); }
