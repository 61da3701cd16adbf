// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 605ABF
float4 main() : COLOR {
    return float4(ldexp(0.75, -1), ldexp(0.25, 0.5), ldexp(3, -2), 1);
}
