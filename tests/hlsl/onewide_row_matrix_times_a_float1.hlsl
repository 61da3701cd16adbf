// kind: onewide
// profile: ps_2_0 main
// expect: renders
// at 500 250 336699
float4 main() : COLOR {
    float1x4 m = { 0.1, 0.2, 0.3, 1 };
    float1 s = 2;
    return mul(s, m);
}
