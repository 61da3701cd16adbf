// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 804080
float4 main() : COLOR {
    float3 f = faceforward(float3(0.5, 0.25, 0), float3(0, 0, 1), float3(0, 0, -1));
    float3 g = faceforward(float3(0.5, 0.25, 0), float3(0, 0, 1), float3(0, 0, 1));
    return float4(f.x, f.y, -g.x, 1);
}
