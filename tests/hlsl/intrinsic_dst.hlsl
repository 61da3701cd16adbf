// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 4040BF
float4 main() : COLOR {
    float4 d = dst(float4(1, 0.5, 0.25, 1), float4(1, 0.5, 1, 0.75));
    return float4(d.y, d.z, d.w, d.x);
}
