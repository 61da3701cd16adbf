// kind: effect
// profile: ps_2_0 main
// expect: fails (14,
technique T
{
    pass P
    {
        PixelShader = compile ps_2_0 main();
    }
}
float4 main() : COLOR
{
    float4 c = 1;
    return c + missing;
}
