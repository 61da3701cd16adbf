// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 BF8040
float4 main() : COLOR {
    float2 k[2] = { { 0.25, 0.5 }, { 0.75, 1.0 } };
    return float4(k[1].x, k[0].y, k[0].x, 1);
}
