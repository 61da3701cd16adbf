// kind: alias
// profile: vs_3_0 vs
// expect: renders
// pair: ps_3_0 ps
// at 250 100 403300
// at 750 400 BFCC00
struct V { float4 p : SV_Position; float2 uv : TEXCOORD0; };
V vs(float4 p : POSITION, float2 uv : TEXCOORD0) { V o; o.p = p; o.uv = uv; return o; }
float4 ps(float2 uv : TEXCOORD0) : SV_Target { return float4(uv, 0, 1); }
