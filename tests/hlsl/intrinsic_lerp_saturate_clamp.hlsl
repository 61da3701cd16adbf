// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 66804D
float4 main() : COLOR {
    return float4(lerp(0.2, 0.6, 0.5), saturate(1.5) * 0.5, clamp(0.9, 0.1, 0.3), 1);
}
