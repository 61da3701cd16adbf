// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 BF8080
float4 main() : COLOR {
    return float4(frac(-0.25), -floor(-0.5) * 0.5, ceil(-0.5) + 0.5, 1);
}
