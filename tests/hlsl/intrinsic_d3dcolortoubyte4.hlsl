// kind: intrinsic
// profile: vs_2_0 main
// expect: renders
// at 500 250 4080FF
struct VOut { float4 p : POSITION; float4 c : COLOR0; };
VOut main(float4 p : POSITION) {
    VOut o;
    o.p = p;
    int4 b = D3DCOLORtoUBYTE4(float4(1, 0.5, 0.25, 1));
    o.c = float4(b.x, b.y, b.z, b.w) / 255.0;
    return o;
}
