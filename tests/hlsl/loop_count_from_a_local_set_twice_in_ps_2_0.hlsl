// kind: loop
// profile: ps_2_0 main
// expect: fails unable to unroll loop
float4 main(float4 c : COLOR0) : COLOR {
    int count = 4;
    if (c.x > 0.5) count = 2;
    float4 s = 0;
    for (int i = 0; i < count; i++) s += 0.1;
    return s;
}
