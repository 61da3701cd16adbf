// kind: loop
// profile: ps_2_0 main
// expect: fails unable to unroll loop
float4 colours[4];
float4 light(int n) {
    float4 s = 0;
    for (int i = 0; i < n; i++) s += colours[i];
    return s;
}
float4 main(float4 c : COLOR0) : COLOR { return light(3) + light((int)(c.x * 4)); }
