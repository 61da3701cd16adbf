// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 800000
float4 main() : COLOR {
    float4 l = lit(-0.5, 0.5, 2);
    return float4(l.x * 0.5, l.y, l.z, l.w);
}
