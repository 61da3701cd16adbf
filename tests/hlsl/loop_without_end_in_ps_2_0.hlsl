// kind: loop
// profile: ps_2_0 main
// expect: fails unable to unroll loop
float4 main() : COLOR {
    float s = 0;
    while (true) { s += 0.1; }
    return s;
}
