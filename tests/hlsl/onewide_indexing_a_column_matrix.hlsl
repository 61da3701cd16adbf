// kind: onewide
// profile: ps_2_0 main
// expect: renders
// at 500 250 4D3366
float4 main() : COLOR {
    float4x1 n = { 0.1, 0.2, 0.3, 0.4 };
    return float4(n[2][0], n[1], n[3][0], 1);
}
