// kind: scope
// profile: ps_2_0 main
// expect: renders
// at 500 250 4D8080
float4 main() : COLOR {
    float s = 0, t = 0;
    for (int i = 0; i < 3; i++) s += 0.1;
    for (int i = 0; i < 5; i++) t += 0.1;
    return float4(s, t, i / 10.0, 1);
}
