// kind: effect
// profile: ps_2_0 main
// expect: fails (7,1): error X3000: syntax error: unexpected token '}'
texture colourMap;
sampler2D colourSampler = sampler_state {
    Texture = <colourMap>; MinFilter = Linear
};
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(colourSampler, uv); }
