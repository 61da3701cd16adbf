// kind: intrinsic
// profile: ps_2_0 main
// expect: fails ps_3_0
sampler1D ramp;
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex1Dlod(ramp, uv.xyxy); }
