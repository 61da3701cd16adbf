// kind: onewide
// profile: ps_2_0 main
// expect: fails
float4 main() : COLOR {
    float1x5 m;
    return 1;
}
