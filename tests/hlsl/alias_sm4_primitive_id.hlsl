// kind: alias
// profile: ps_3_0 main
// expect: fails semantic
float4 main(uint id : SV_PrimitiveID) : SV_Target { return id; }
