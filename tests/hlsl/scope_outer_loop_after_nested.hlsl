// kind: scope
// profile: ps_2_0 main
// expect: renders
// at 500 250 4D8000
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < 2; i++)
        for (int j = 0; j < 3; j++)
            s += 0.05;
    return float4(s, i * 0.25, 0, 1);
}
