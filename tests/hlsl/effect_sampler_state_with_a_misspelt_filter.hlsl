// kind: effect
// profile: ps_2_0 main
// expect: fails undeclared identifier 'Lnear'
sampler2D colourSampler = sampler_state { MinFilter = Lnear; };
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(colourSampler, uv); }
