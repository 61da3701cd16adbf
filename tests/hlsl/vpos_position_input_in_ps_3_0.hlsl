// kind: vpos
// profile: ps_3_0 main
// expect: fails position semantics
float4 main(float4 p : POSITION) : COLOR { return p; }
