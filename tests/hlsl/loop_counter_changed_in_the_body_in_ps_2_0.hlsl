// kind: loop
// profile: ps_2_0 main
// expect: fails unable to unroll loop
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float s = 0;
    for (int i = 0; i < 4; i++) { s += 0.1; if (uv.x > 0.5) i--; }
    return s;
}
