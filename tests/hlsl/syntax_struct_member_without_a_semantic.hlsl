// kind: syntax
// profile: vs_2_0 main
// expect: fails input 'i.n' has no semantic
struct VIn { float4 p : POSITION; float3 n; };
float4 main(VIn i) : POSITION { return i.p + i.n.x; }
