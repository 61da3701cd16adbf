// kind: entry
// profile: ps_2_0 main
// expect: renders
// at 500 250 80FFBF
float3 saturate(float3 x, float k) { return x * k; }
float dot(float3 a) { return a.x + a.y + a.z; }
float4 main() : COLOR {
    return float4(saturate(float3(1, 1, 1), 0.5).x, saturate(2.0), dot(float3(0.25, 0.25, 0.25)), 1);
}
