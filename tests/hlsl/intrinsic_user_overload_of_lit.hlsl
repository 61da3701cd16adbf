// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 808000
float3 lit(float3 x) { return x * 0.5; }
float4 main() : COLOR {
    float4 l = lit(0.5, 0.5, 1);
    return float4(lit(float3(1, 0.5, 0)).x, l.z, 0, 1);
}
