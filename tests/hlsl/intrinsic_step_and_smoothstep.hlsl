// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 0028FF
float4 main() : COLOR {
    return float4(step(0.5, 0.25), smoothstep(0, 1, 0.25), step(0.25, 0.5), 1);
}
