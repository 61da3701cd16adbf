// kind: loop
// profile: ps_2_0 main
// expect: renders
// at 500 250 BF0000
float4 main() : COLOR {
    float s = 0;
    int i = 0;
    while (i < 3) { s += 0.25; i++; }
    return float4(s, 0, 0, 1);
}
