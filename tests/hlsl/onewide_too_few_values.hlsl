// kind: onewide
// profile: ps_2_0 main
// expect: fails initializer
float4 main() : COLOR {
    float1x4 m = { 1, 2, 3 };
    return m[0];
}
