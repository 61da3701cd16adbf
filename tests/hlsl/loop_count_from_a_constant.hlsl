// kind: loop
// profile: ps_3_0 main
// expect: renders
// setint count 10
// at 500 250 800000
int count;
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < count; i++) s += 0.05;
    return float4(s, 0, 0, 1);
}
