// kind: loop
// profile: ps_2_0 main
// expect: renders
// at 300 250 600000
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float s = 0;
    for (int i = 0; i < 8; i++) {
        if (i * 0.125 >= uv.x) break;
        s += 0.125;
    }
    return float4(s, 0, 0, 1);
}
