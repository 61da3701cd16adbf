// kind: slots
// profile: ps_3_0 main
// expect: fails X5608: Compiled shader code uses too many instruction slots
// Sampling with gradients in a loop makes the compiler unroll it: 80 copies of the body.
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float4 sum = 0;
    for (int i = 0; i < 80; i++) sum += tex2D(s, uv * i) * sin(uv.x * i);
    return sum;
}
