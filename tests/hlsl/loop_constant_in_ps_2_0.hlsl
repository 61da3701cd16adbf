// kind: loop
// profile: ps_2_0 main
// expect: renders
// at 500 250 800000
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < 4; i++) s += 0.125;
    return float4(s, 0, 0, 1);
}
