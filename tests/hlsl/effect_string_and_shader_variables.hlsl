// kind: effect
// profile: ps_2_0 main
// expect: renders
// at 500 250 336699
string Description = "a plain colour";
float4 main() : COLOR { return float4(0.2, 0.4, 0.6, 1); }
PixelShader compiled = compile ps_2_0 main();
VertexShader none = null;
