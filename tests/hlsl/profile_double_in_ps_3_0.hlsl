// kind: profile
// profile: ps_3_0 main
// expect: fails (5,5): error: 'double': ps_3_0 has no double-precision type
float4 main(float2 uv : TEXCOORD0) : COLOR {
    double d = uv.x;
    return float4(d * 2, 0, 0, 1);
}
