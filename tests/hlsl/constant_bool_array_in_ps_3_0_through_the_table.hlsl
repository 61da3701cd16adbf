// kind: constant
// profile: ps_3_0 main
// expect: renders
// set lights 0 1 1
// at 500 250 00FFFF
bool lights[3];
float4 main() : COLOR {
    float4 c = float4(0, 0, 0, 1);
    if (lights[0]) c.r = 1;
    if (lights[1]) c.g = 1;
    if (lights[2]) c.b = 1;
    return c;
}
