// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 4D6600
float4 main() : COLOR {
    int k[4] = { 1, 2, 3, 4 };
    return float4(k[2] * 0.1, k[3] * 0.1, 0, 1);
}
