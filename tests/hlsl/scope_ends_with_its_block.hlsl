// kind: scope
// profile: ps_2_0 main
// expect: fails undeclared identifier
float4 main() : COLOR {
    float s = 0;
    {
        for (int i = 0; i < 2; i++) s += 0.5;
    }
    return float4(s, i, 0, 1);
}
