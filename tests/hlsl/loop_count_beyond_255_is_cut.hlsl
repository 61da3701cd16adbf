// kind: loop
// profile: ps_3_0 main
// expect: renders
// set count 400
// at 500 250 820000
float count;
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < count; i++) s += 0.002;
    return float4(s, 0, 0, 1);
}
