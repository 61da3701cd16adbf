// kind: alias
// profile: vs_3_0 main
// expect: renders
// at 500 250 8000FF
struct VOut { float4 p : POSITION; float4 c : COLOR0; };
VOut main(float4 p : SV_Position) { VOut o; o.p = p; o.c = float4(p.z, 0, 1, 1); return o; }
