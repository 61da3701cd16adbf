// kind: effect
// profile: ps_2_0 main
// expect: fails unrecognized sampler state 'MinFliter'
sampler2D colourSampler = sampler_state { MinFliter = Linear; };
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(colourSampler, uv); }
