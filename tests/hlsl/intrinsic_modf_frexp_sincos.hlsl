// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 BFBFBF
float4 main() : COLOR {
    float whole;
    float part = modf(2.75, whole);
    float e;
    float m = frexp(12.0, e);
    float s, c;
    sincos(0, s, c);
    return float4(part, m * e / 4, whole * 0.25 + s + c * 0.25, 1);
}
