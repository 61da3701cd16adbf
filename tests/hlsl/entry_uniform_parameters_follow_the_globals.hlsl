// kind: entry
// profile: vs_2_0 vs
// expect: renders
// pair: ps_2_0 ps
// register c0 0.25 0 0 0
// register c1 0 0.5 0 0
// setmatrix $m 1 0 0 0  0 1 0 0  0 0 1 0  0 0 0 1
// at 500 250 808000
float4 g;
struct V { float4 p : POSITION; float4 c : COLOR0; };
V vs(float4 p : POSITION, uniform const float4 k, uniform float4x4 m) {
    V o;
    o.p = mul(p, m);
    o.c = g * 2 + k;
    return o;
}
float4 ps(float4 c : COLOR0) : COLOR { return c; }
