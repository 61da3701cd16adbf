// kind: entry
// profile: vs_2_0 main
// expect: renders
// at 250 250 994000
struct VIn { float4 p : POSITION; float2 uv : TEXCOORD0; float4 c : COLOR0; };
struct VOut { float4 p : POSITION; float4 c : COLOR0; };
VOut main(VIn i) { VOut o; o.p = i.p; o.c = float4(i.c.b, i.uv.x, 0, 1); return o; }
