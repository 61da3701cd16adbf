// kind: vpos
// profile: vs_2_0 vs
// expect: renders
// pair: ps_2_0 ps
// at 250 100 403300
// at 750 400 BFCC00
struct V { float4 pos : POSITION; float2 uv : TEXCOORD0; };
V vs(float4 p : POSITION, float2 uv : TEXCOORD0) { V o; o.pos = p; o.uv = uv; return o; }
float4 colour(V v) { return float4(v.uv, 0, 1); }
float4 ps(V v) : COLOR { return colour(v); }
