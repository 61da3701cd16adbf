// kind: vpos
// profile: ps_3_0 main
// expect: renders
// at 0 0 0000FF
// at 1 0 00FF00
// at 500 250 00FF00
// at 999 499 00FF00
float4 main(float2 p : VPOS) : COLOR {
    bool whole = all(frac(p) == 0);
    return (p.x == 0 && p.y == 0) ? float4(0, 0, 1, 1) : whole ? float4(0, 1, 0, 1) : float4(1, 0, 0, 1);
}
