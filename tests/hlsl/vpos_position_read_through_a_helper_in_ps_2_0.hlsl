// kind: vpos
// profile: ps_2_0 main
// expect: fails position semantics
struct V { float4 pos : POSITION; float4 col : COLOR0; };
float4 shade(V v) { return v.col * v.pos.x; }
float4 main(V i) : COLOR { return shade(i); }
