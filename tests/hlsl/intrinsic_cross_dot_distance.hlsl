// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 808080
float4 main() : COLOR {
    float3 c = cross(float3(1, 0, 0), float3(0, 1, 0));
    return float4(c.z * 0.5, dot(float3(0.5, 0.5, 0), float3(0.5, 0.5, 1)), distance(float2(0, 0), float2(0.3, 0.4)), 1);
}
