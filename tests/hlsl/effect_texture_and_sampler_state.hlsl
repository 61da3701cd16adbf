// kind: effect
// profile: ps_2_0 main
// expect: renders
// texture 0 2x1 FFFF0000 FF0000FF
// at 250 250 FF0000
// at 750 250 0000FF
texture diffuseTexture;
sampler2D diffuseSampler = sampler_state {
    Texture = <diffuseTexture>;
    MinFilter = Linear;
    MagFilter = Linear;
};
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(diffuseSampler, uv); }
