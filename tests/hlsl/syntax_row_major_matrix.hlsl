// kind: syntax
// profile: vs_2_0 main
// expect: renders
// setmatrix transform 1 0 0 0 0 1 0 0 0 0 1 0 0 0 0 1
// at 500 250 0080FF
row_major float4x4 transform;
struct VOut { float4 p : POSITION; float4 c : COLOR0; };
VOut main(float4 p : POSITION) { VOut o; o.p = mul(p, transform); o.c = float4(0, 0.5, 1, 1); return o; }
