// kind: loop
// profile: ps_2_0 main
// expect: renders
// at 500 250 4D4D4D
float4 main() : COLOR {
    int count = 4;
    float step = 0.1;
    float4 s = 0;
    for (int i = 0; i < count; i++) s += step;
    return s / count * 3;
}
