// kind: scope
// profile: ps_3_0 main
// expect: renders
// set n 3
// at 500 250 4D4D00
float n;
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < n; i++) s += 0.1;
    return float4(s, i * 0.1, 0, 1);
}
