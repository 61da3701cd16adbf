// kind: constant
// profile: ps_2_0 main
// expect: renders
// set light 0.5 1 0.25 0.5
// at 500 250 408020
struct Light { float3 colour; float strength; };
Light light;
float4 main() : COLOR { return float4(light.colour * light.strength, 1); }
