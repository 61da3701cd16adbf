// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 C8C880
float4 main() : COLOR {
    return float4(atan2(1, 1), atan2(1, 0) / 2, atan2(0, 1) + 0.5, 1);
}
