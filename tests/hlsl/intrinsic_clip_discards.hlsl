// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 250 250 2F2F2F
// at 750 250 FFFF00
float4 main(float2 uv : TEXCOORD0) : COLOR {
    clip(uv.x - 0.5);
    return float4(1, 1, 0, 1);
}
