// kind: vpos
// profile: ps_3_0 main
// expect: renders
// cull: none
// winding: counterclockwise
// at 500 250 FF0000
float4 main(float face : VFACE) : COLOR { return face > 0 ? float4(0, 1, 0, 1) : float4(1, 0, 0, 1); }
