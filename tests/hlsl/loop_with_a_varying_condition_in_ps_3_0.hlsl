// kind: loop
// profile: ps_3_0 main
// expect: renders
// at 300 250 600000
// at 900 250 FF0000
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float s = 0;
    while (s < uv.x) s += 0.125;
    return float4(s, 0, 0, 1);
}
