// kind: loop
// profile: ps_3_0 main
// expect: renders
// at 500 250 008200
float4 main() : COLOR {
    float s = 0;
    do { s += 0.002; } while (s > -1);
    return float4(0, s, 0, 1);
}
