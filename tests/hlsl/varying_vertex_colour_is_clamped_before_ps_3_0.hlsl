// kind: varying
// profile: vs_2_0 vs
// expect: renders
// pair: ps_2_0 ps
// at 500 250 804080
struct V { float4 p : POSITION; float4 c : COLOR0; };
V vs(float4 p : POSITION) { V o; o.p = p; o.c = float4(2, -1, 0.5, 1); return o; }
float4 ps(float4 c : COLOR0) : COLOR { return float4(c.r * 0.5, c.g + 0.25, c.b, 1); }
