// kind: effect
// profile: vs_2_0 VS
// pair: ps_2_0 PS
// expect: renders
// texture 0 2x1 FFFF0000 FF0000FF
// set tint 1 1 0.5 1
// at 250 250 FF0000
// at 750 250 000080
// An effect file as a shader compile reads it: everything the effect framework alone reads
// (annotations, textures, sampler states, state blocks, techniques) is dropped.
string Description < string UIWidget = "None"; > = "a textured quad";
texture colourMap < string ResourceName = "colour.dds"; string UIName = "Colour"; >;
float4 tint <string UIName = "Tint"; float2 UIRange = { 0, 1 }; int UIOrder = -1;>= { 1, 1, 1, 1 };
sampler2D colourSampler : register(s0) < string UIName = "Sampler"; > = sampler_state {
    Texture = <colourMap>;
    MinFilter = LINEAR; MagFilter = Point; MipFilter = None;
    AddressU = Clamp; AddressV = WRAP;
    BorderColor = 0xFF000000;
    MaxAnisotropy = 4;
    MipMapLodBias = -0.5;
};
stateblock opaque = stateblock_state { AlphaBlendEnable = false; ZEnable = true; };
struct V { float4 p : POSITION; float2 uv : TEXCOORD0; };
V VS(float4 p : POSITION, float2 uv : TEXCOORD0) { V o; o.p = p; o.uv = uv; return o; }
float4 PS(float2 uv : TEXCOORD0) : COLOR { return tex2D(colourSampler, uv) * tint; }
VertexShader compiledVS = compile vs_2_0 VS();
technique Textured < string Script = "Technique=Textured;"; >
{
    pass P0 < string Script = "Draw=Geometry;"; >
    {
        VertexShader = (compiledVS);
        PixelShader = compile ps_2_0 PS();
        Sampler[0] = (colourSampler);
        CullMode = None;
        ZWriteEnable = true;
    }
    pass { StateBlock = (opaque); }
}
technique10 Modern { pass P { SetVertexShader(CompileShader(vs_4_0, VS())); SetPixelShader(NULL); } }
BlendState additive { BlendEnable[0] = TRUE; SrcBlend = ONE; DestBlend = ONE; };
