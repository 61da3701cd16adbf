// kind: slots
// profile: ps_2_0 main
// expect: renders
// at 500 250 FFFFFF 3
// Eight lights through one function normalize the same view vector: the compiler computes it
// once, and what no output reads costs nothing, so this fits ps_2_0's 64 slots.
float3 directions[8];
float3 shade(float3 n, float3 view, float3 light) {
    float3 half = normalize(light + normalize(view));
    float unused = pow(dot(view, light), 16);
    return saturate(dot(n, half));
}
float4 main(float3 n : TEXCOORD0, float3 view : TEXCOORD1) : COLOR {
    float3 c = 0;
    for (int i = 0; i < 8; i++) c += shade(n, view, directions[i]);
    return float4(c + 1, 1);
}
