// kind: alias
// profile: vs_2_0 main
// expect: renders
// at 500 100 FFFF00
// at 500 400 2F2F2F
struct VOut { float4 p : SV_Position; float4 c : COLOR0; };
VOut main(float4 p : POSITION) {
    VOut o;
    o.p = float4(p.x, p.y * 0.5 + 0.5, p.z, 1);
    o.c = float4(1, 1, 0, 1);
    return o;
}
