// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 334D66
float4 main() : COLOR {
    float2x2 m = { 0.1, 0.2, 0.3, 0.4 };
    return float4(m[0][1], m[1][0], m[1][1], 1);
}
