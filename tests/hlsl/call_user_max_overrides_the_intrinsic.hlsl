// kind: call
// profile: ps_2_0 main
// expect: renders
// at 500 250 99B380
float3 max(float3 a, float3 b) { return a * 0.5 + b * 0.5; }
float4 main(float4 c : COLOR0) : COLOR { return float4(max(c.xyz, float3(1, 1, 1)).xy, max(c.x, 0.5), 1); }
