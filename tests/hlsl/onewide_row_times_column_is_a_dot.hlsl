// kind: onewide
// profile: ps_2_0 main
// expect: renders
// at 500 250 600000
float4 main() : COLOR {
    float1x4 a = { 0.5, 0.5, 0, 0 };
    float4x1 b = { 0.25, 0.5, 1, 1 };
    return float4(mul(a, b), 0, 0, 1);
}
