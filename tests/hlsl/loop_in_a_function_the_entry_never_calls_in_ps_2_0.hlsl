// kind: loop
// profile: ps_2_0 main
// expect: renders
// at 500 250 336699
int numLights;
float4 colours[8];
float4 unused(float4 c) {
    float4 s = 0;
    for (int i = 0; i < numLights; i++) s += colours[i] * c;
    return s;
}
float4 main(float4 c : COLOR0) : COLOR { return c; }
