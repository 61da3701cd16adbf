// kind: message
// profile: ps_2_0 main
// expect: warns loop control variable
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < 2; i++) s += 0.25;
    for (int i = 0; i < 2; i++) s += 0.25;
    return s;
}
