// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 BF0040
float4 main() : COLOR {
    float4 l = lit(0.75, -0.25, 8);
    return float4(l.y, l.z, l.w * 0.25, 1);
}
