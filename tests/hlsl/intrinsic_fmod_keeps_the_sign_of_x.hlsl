// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 BFFF40
float4 main(float4 c : COLOR0) : COLOR {
    float a = fmod(-5.5, 2);
    float b = fmod(c.b * 10, 4);
    return float4(-a * 0.5, b * 0.5, fmod(0.75, 0.5), 1);
}
