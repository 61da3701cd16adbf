// kind: slots
// profile: ps_2_0 main
// expect: fails texture instruction slots
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float4 sum = 0;
    for (int i = 0; i < 40; i++) sum += tex2D(s, uv + i * 0.01);
    return sum / 40;
}
