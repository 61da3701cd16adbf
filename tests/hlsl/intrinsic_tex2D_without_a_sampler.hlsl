// kind: intrinsic
// profile: ps_2_0 main
// expect: fails cannot convert argument 1
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(1.0, uv); }
