// kind: constant
// profile: ps_2_0 main
// expect: renders
// setbool useRed 1
// set flags 0 1
// at 500 250 FFFF00
bool useRed;
bool flags[2];
float4 main() : COLOR {
    float4 c = useRed ? float4(1, 0, 0, 1) : float4(0, 0, 1, 1);
    if (flags[1]) c.g = 1;
    if (flags[0]) c.b = 1;
    return c;
}
