// kind: profile
// profile: vs_3_0 main
// expect: compiles
sampler2D heights;
float4 main(float4 p : POSITION, float2 uv : TEXCOORD0) : POSITION {
    return p + float4(0, tex2Dlod(heights, float4(uv, 0, 0)).r, 0, 0);
}
