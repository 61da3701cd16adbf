// kind: slots
// profile: ps_2_0 main
// expect: fails X5608: Compiled shader code uses too many arithmetic instruction slots (160). Max. allowed by the target (ps_2_0) is 64.
float4 main(float4 c : COLOR0) : COLOR {
    float s = 0;
    for (int i = 0; i < 16; i++) s += sin(c.r * i);
    return s;
}
