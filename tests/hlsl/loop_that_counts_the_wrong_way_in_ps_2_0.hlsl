// kind: loop
// profile: ps_2_0 main
// expect: fails 1024 iterations
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < 4; i--) s += 0.1;
    return s;
}
