// kind: slots
// profile: ps_2_0 main
// expect: renders
// at 500 250 FFFFFF 3
// Ten lights through one function normalize the same view vector: the compiler computes it
// once, and what no output reads costs nothing, so this fits ps_2_0's 64 slots.
float3 d[10];
float3 shade(float3 n, float3 view, float3 light) {
    float3 halfway = normalize(light + normalize(view));
    float unused = pow(dot(view, light), 16);
    return saturate(dot(n, halfway));
}
float4 main(float3 n : TEXCOORD0, float3 v : TEXCOORD1) : COLOR {
    float3 c = shade(n, v, d[0]) + shade(n, v, d[1]) + shade(n, v, d[2]) + shade(n, v, d[3]) +
               shade(n, v, d[4]) + shade(n, v, d[5]) + shade(n, v, d[6]) + shade(n, v, d[7]) +
               shade(n, v, d[8]) + shade(n, v, d[9]);
    return float4(c + 1, 1);
}
