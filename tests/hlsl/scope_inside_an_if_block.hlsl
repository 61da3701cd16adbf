// kind: scope
// profile: ps_2_0 main
// expect: renders
// at 500 250 990000
float4 main(float4 c : COLOR0) : COLOR {
    float s = 0;
    if (c.r > 0.1) {
        for (int i = 0; i < 3; i++) s += 0.1;
        s += i * 0.1;
    }
    return float4(s, 0, 0, 1);
}
