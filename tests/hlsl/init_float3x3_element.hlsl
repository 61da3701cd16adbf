// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 B39933
float4 main() : COLOR {
    float3x3 m = { 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9 };
    return float4(m[2][0], m[1][2], m[0][1], 1);
}
