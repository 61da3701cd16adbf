// kind: scope
// profile: ps_2_0 main
// expect: renders
// at 500 250 268000
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < 2; i++) s += 1;
    for (float i = 0.25; i < 1; i += 0.25) s += i * 0.1;
    return float4(s - 2, i * 0.5, 0, 1);
}
