// kind: onewide
// profile: ps_2_0 main
// expect: fails out of range
float4 main() : COLOR {
    float4x1 n = { 1, 2, 3, 4 };
    return n[4][0];
}
