// kind: loop
// profile: ps_2_0 main
// expect: renders
// at 500 250 BF0000
static const int Steps = 6;
float4 main() : COLOR {
    float s = 0;
    for (int i = Steps; i > 0; i -= 2) s += 0.25;
    return float4(s, 0, 0, 1);
}
