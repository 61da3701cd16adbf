// kind: scope
// profile: ps_2_0 main
// expect: renders
// at 500 250 FF8000
float4 main() : COLOR {
    float s = 0;
    [unroll] for (int i = 0; i < 4; i++) s += 0.25;
    return float4(s, i * 0.25 - 0.5, 0, 1);
}
