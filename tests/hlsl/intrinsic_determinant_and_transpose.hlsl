// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 382040
float4 main() : COLOR {
    float2x2 m = float2x2(0.5, 0.25, 0.125, 0.5);
    float2x2 t = transpose(m);
    return float4(determinant(m), t[0][1], t[1][0], 1);
}
