// kind: slots
// profile: vs_1_1 main
// expect: fails X5608: Compiled shader code uses too many instruction slots (200). Max. allowed by the target (vs_1_1) is 128.
float4 main(float4 p : POSITION, out float4 c : COLOR0) : POSITION {
    float4 s = 0;
    for (int i = 0; i < 20; i++) s += cos(p * i);
    c = s;
    return p;
}
