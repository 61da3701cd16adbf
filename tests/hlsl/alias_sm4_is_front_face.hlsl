// kind: alias
// profile: ps_3_0 main
// expect: fails semantic
float4 main(bool front : SV_IsFrontFace) : COLOR { return front ? 1 : 0; }
