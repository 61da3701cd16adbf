// kind: varying
// profile: ps_2_0 main
// expect: renders
// at 250 100 403380
// The fixed-function stage gives two components: z reads 0 and w reads 1.
float4 main(float4 uv : TEXCOORD0) : COLOR { return float4(uv.x, uv.y + uv.z, uv.w * 0.5, 1); }
