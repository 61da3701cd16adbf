// kind: alias
// profile: vs_3_0 main
// expect: fails semantic
float4 main(uint id : SV_VertexID) : POSITION { return id; }
