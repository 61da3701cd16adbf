// kind: loop
// profile: ps_2_0 main
// expect: renders
// at 500 250 006000
float4 main() : COLOR {
    float s = 0;
    int i = 10;
    do { s += 0.125; i -= 2; } while (i > 4);
    return float4(0, s, 0, 1);
}
