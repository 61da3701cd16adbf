// kind: varying
// profile: vs_3_0 vs
// expect: renders
// pair: ps_3_0 ps
// at 500 250 8080BF
struct V { float4 p : POSITION; float3 n : NORMAL0; float4 t : TANGENT; };
V vs(float4 p : POSITION, float3 n : NORMAL) { V o; o.p = p; o.n = -n * 0.5; o.t = float4(0.25, 0.5, 0.75, 1); return o; }
float4 ps(float3 n : NORMAL0, float4 t : TANGENT) : COLOR { return float4(n.z, t.y, t.z, 1); }
