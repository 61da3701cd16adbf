// kind: scope
// profile: ps_2_0 main
// expect: fails undeclared identifier
float4 main() : COLOR {
    float s = i;
    for (int i = 0; i < 2; i++) s += 1;
    return s;
}
