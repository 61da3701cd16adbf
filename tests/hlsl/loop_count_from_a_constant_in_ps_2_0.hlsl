// kind: loop
// profile: ps_2_0 main
// expect: fails unable to unroll loop
float count;
float4 main() : COLOR {
    float s = 0;
    for (int i = 0; i < count; i++) s += 0.1;
    return s;
}
