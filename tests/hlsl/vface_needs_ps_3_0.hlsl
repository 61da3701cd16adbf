// kind: vpos
// profile: ps_2_b main
// expect: fails VFACE
float4 main(float f : VFACE) : COLOR { return f; }
