// kind: slots
// profile: ps_2_0 main
// expect: renders
// texture 0 1x1 FF336699
// at 500 250 336699
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float4 sum = 0;
    for (int i = 0; i < 8; i++) sum += tex2D(s, uv);
    return sum / 8;
}
