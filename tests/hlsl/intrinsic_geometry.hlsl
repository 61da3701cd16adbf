// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 809980
float4 main() : COLOR {
    float3 r = reflect(float3(0.5, -0.5, 0), float3(0, 1, 0));
    float2 n = normalize(float2(3, 4));
    return float4(r.y, n.x, length(float3(0.3, 0.4, 0)), 1);
}
