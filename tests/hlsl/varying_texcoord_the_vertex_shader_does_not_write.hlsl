// kind: varying
// profile: vs_2_0 vs
// expect: renders
// pair: ps_2_0 ps
// at 250 250 400000
struct V { float4 p : POSITION; float2 uv : TEXCOORD0; };
V vs(float4 p : POSITION, float2 uv : TEXCOORD0) { V o; o.p = p; o.uv = uv; return o; }
float4 ps(float2 uv : TEXCOORD0, float4 missing : TEXCOORD3) : COLOR { return float4(uv.x, missing.x, 0, 1); }
