// kind: slots
// profile: ps_2_0 main
// expect: renders
// texture 0 1x1 FF808080
// at 500 250 808080 3
// Unrolled, what does not change from one iteration to the next is computed once: 16 samples
// and a normalize fit ps_2_0's 64 arithmetic slots.
sampler2D s;
float2 offsets[16];
float4 main(float2 uv : TEXCOORD0, float3 view : TEXCOORD1) : COLOR {
    float4 sum = 0;
    for (int i = 0; i < 16; i++) sum += tex2D(s, uv + offsets[i]) * (normalize(view).x * 0 + 1);
    return sum / 16;
}
