// kind: loop
// profile: ps_3_0 main
// expect: renders
// at 500 250 828000
float4 main() : COLOR {
    float s = 0;
    while (true) { s += 1.0 / 500; }
    return float4(s, 0.5, 0, 1);
}
