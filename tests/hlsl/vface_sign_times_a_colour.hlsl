// kind: vpos
// profile: ps_3_0 main
// expect: renders
// cull: none
// winding: counterclockwise
// at 500 250 336699
float4 main(float4 c : COLOR0, float face : VFACE) : COLOR { return float4(c.rgb * -sign(face), 1); }
