// kind: loop
// profile: vs_3_0 main
// expect: renders
// at 500 250 000082
struct VOut { float4 p : POSITION; float4 c : COLOR0; };
VOut main(float4 p : POSITION) {
    VOut o;
    float s = 0;
    while (p.w > 0) { s += 0.002; }
    o.p = p;
    o.c = float4(0, 0, s, 1);
    return o;
}
