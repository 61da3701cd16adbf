// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 80994D
float4 main() : COLOR {
    float4 v[2] = { float2(0.1, 0.2), 0.3, 0.4, float3(0.5, 0.6, 0.7), 0.8 };
    return float4(v[1].x, v[1].y, v[0].z, 1);
}
