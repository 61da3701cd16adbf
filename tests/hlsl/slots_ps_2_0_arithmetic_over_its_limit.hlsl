// kind: slots
// profile: ps_2_0 main
// expect: warns arithmetic instruction slots
float4 main(float4 c : COLOR0) : COLOR {
    float s = 0;
    for (int i = 0; i < 16; i++) s += sin(c.r * i);
    return s;
}
