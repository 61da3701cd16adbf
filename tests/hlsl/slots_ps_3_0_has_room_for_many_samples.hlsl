// kind: slots
// profile: ps_3_0 main
// expect: renders
// texture 0 1x1 FF996633
// at 500 250 996633
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float4 sum = 0;
    for (int i = 0; i < 100; i++) sum += tex2D(s, uv);
    return sum / 100;
}
