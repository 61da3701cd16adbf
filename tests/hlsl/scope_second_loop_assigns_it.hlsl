// kind: scope
// profile: ps_2_0 main
// expect: renders
// at 500 250 998000
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < 4; i++) s += 0.1;
    for (i = 0; i < 2; i++) s += 0.1;
    return float4(s, i / 4.0, 0, 1);
}
