// kind: varying
// profile: vs_2_0 main
// expect: fails invalid vs_2_0 output semantic
struct V { float4 p : POSITION; float3 n : NORMAL; };
V main(float4 p : POSITION, float3 n : NORMAL) { V o; o.p = p; o.n = n; return o; }
