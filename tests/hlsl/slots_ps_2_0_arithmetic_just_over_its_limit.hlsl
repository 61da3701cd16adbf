// kind: slots
// profile: ps_2_0 main
// expect: warns the shader needs about 70 arithmetic instruction slots, more than the 64 of ps_2_0
// Within the estimate's margin: the real compiler may fit it, so only a warning.
float4 main(float4 c : COLOR0) : COLOR {
    float s = 0;
    for (int i = 0; i < 7; i++) s += sin(c.r * i);
    return s;
}
