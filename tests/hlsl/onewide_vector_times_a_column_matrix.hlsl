// kind: onewide
// profile: ps_2_0 main
// expect: renders
// at 500 250 660000
float4 main() : COLOR {
    float4x1 n = { 0.1, 0.2, 0.3, 0.4 };
    float d = mul(float4(1, 0.5, 0, 0.5), n);
    return float4(d, 0, 0, 1);
}
