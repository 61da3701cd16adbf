// kind: loop
// profile: ps_3_0 main
// expect: renders
// at 500 250 820000
float4 main(float4 c : COLOR0) : COLOR {
    float s = 0;
    for (;;) {
        if (c.r > 2) break;
        s += 0.002;
    }
    return float4(s, 0, 0, 1);
}
