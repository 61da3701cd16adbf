// kind: constant
// profile: vs_2_0 main
// expect: renders
// setmatrix worldViewProjection 0.5 0 0 0 0 0.5 0 0 0 0 1 0 0 0 0 1
// at 500 250 FF8000
// at 100 50 2F2F2F
float4x4 worldViewProjection;
struct VOut { float4 p : POSITION; float4 c : COLOR0; };
VOut main(float4 p : POSITION) {
    VOut o;
    o.p = mul(p, worldViewProjection);
    o.c = float4(1, 0.5, 0, 1);
    return o;
}
