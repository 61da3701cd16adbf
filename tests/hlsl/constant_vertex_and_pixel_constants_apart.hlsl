// kind: constant
// profile: vs_2_0 vs
// expect: renders
// pair: ps_2_0 ps
// set tint 0 0.5 0 0
// at 500 250 808000
float4 offset;
float4 tint;
struct V { float4 p : POSITION; float4 c : COLOR0; };
V vs(float4 p : POSITION) { V o; o.p = p + offset; o.c = float4(0.5, 0, 0, 1); return o; }
float4 ps(float4 c : COLOR0) : COLOR { return c + tint; }
