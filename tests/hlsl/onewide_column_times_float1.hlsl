// kind: onewide
// profile: ps_2_0 main
// expect: renders
// at 500 250 1A334D
float4 main() : COLOR {
    float4x1 n = { 0.2, 0.4, 0.6, 1 };
    float1 s = 0.5;
    return mul(n, s);
}
