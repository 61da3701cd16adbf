// kind: scope
// profile: ps_2_0 main
// expect: renders
// at 500 250 808000
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < 4; i++) { s += 0.125; }
    return float4(s, i / 8.0, 0, 1);
}
