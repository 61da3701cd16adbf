// kind: onewide
// profile: ps_2_0 main
// expect: renders
// at 500 250 808000
float4 main() : COLOR {
    float1x1 m = { 0.5 };
    return float4(m[0][0], m, 0, 1);
}
