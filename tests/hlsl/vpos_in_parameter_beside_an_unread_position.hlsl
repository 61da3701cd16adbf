// kind: vpos
// profile: ps_3_0 main
// expect: renders
// at 250 100 403300
// at 750 400 BFCC00
struct V { float4 pos : POSITION0; float4 col : COLOR0; };
float4 main(V v, in float2 p : VPOS) : COLOR { return float4(p.x / 1000, p.y / 500, 0, 1); }
