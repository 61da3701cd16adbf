// kind: loop
// profile: ps_2_0 main
// expect: fails unable to unroll loop
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float s = 0;
    do { s += 0.1; } while (s < uv.x);
    return s;
}
