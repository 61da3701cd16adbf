// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 808040
float4 main() : COLOR {
    return float4(exp2(-1), log2(4) * 0.25, pow(0.5, 2), 1);
}
