// kind: constant
// profile: ps_3_0 main
// expect: renders
// register i0 3
// at 500 250 BF0000
int count;  // only a loop's count: i0, as the rep instruction reads it
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < count; i++) s += 0.25;
    return float4(s, 0, 0, 1);
}
