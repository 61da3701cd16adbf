// kind: effect
// profile: ps_2_0 main
// expect: renders
// texture 0 1x1 FFFF0000
// texture 1 1x1 FF00FF00
// at 500 250 FFFF00
// Only the samplers the shader reads get registers, in the order they are declared (an unused
// one takes none), whatever the order they are read in.
texture t;
sampler2D unused = sampler_state { Texture = <t>; };
sampler2D first = sampler_state { Texture = <t>; MinFilter = Point; };
sampler2D second;
float4 main(float2 uv : TEXCOORD0) : COLOR {
    return float4(0, tex2D(second, uv).g, 0, 1) + float4(tex2D(first, uv).r, 0, 0, 0);
}
