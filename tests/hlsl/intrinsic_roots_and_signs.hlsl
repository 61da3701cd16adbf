// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 804080
float4 main() : COLOR {
    return float4(rsqrt(4), sqrt(0.0625), abs(-0.75) + sign(-3) * 0.25, 1);
}
