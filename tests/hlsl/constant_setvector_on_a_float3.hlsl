// kind: constant
// profile: ps_2_0 main
// expect: renders
// setvector colour 0.5 0.25 1 9
// at 500 250 8040FF
float3 colour;
float4 main() : COLOR { return float4(colour, 1); }
