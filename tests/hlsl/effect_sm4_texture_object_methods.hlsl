// kind: effect
// profile: ps_3_0 main
// expect: renders
// texture 0 1x1 FF402010
// at 500 250 804020
Texture2D<float4> colourMap;
SamplerState linearSampler = sampler_state { Filter = MIN_MAG_MIP_POINT; };
float4 main(float2 uv : TEXCOORD0) : COLOR {
    return colourMap.SampleLevel(linearSampler, uv, 0) + colourMap.SampleBias(linearSampler, uv, 0);
}
