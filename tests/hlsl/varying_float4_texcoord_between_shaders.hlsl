// kind: varying
// profile: vs_2_0 vs
// expect: renders
// pair: ps_2_0 ps
// at 500 250 664D33
struct V { float4 p : POSITION; float4 extra : TEXCOORD1; };
V vs(float4 p : POSITION) { V o; o.p = p; o.extra = float4(0.1, 0.2, 0.3, 0.4); return o; }
float4 ps(float4 extra : TEXCOORD1) : COLOR { return float4(extra.w, extra.z, extra.y, 1); }
