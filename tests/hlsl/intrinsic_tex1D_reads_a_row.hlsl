// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// texture 0 2x1 FFFF8000 FF0080FF
// at 250 250 FF8000
// at 750 250 0080FF
sampler1D ramp;
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex1D(ramp, uv.x); }
