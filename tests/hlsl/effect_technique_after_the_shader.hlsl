// kind: effect
// profile: ps_2_0 main
// expect: renders
// at 500 250 0080FF
float4 main() : COLOR { return float4(0, 0.5, 1, 1); }
technique Plain {
    pass P0 {
        VertexShader = null;
        PixelShader = compile ps_2_0 main();
        ZEnable = true;
        CullMode = None;
    }
}
