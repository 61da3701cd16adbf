// kind: scope
// profile: vs_2_0 main
// expect: renders
// at 500 250 808000
struct VOut { float4 p : POSITION; float4 c : COLOR0; };
VOut main(float4 p : POSITION) {
    VOut o;
    float s = 0;
    for (int k = 0; k < 5; k++) s += 0.1;
    o.p = p;
    o.c = float4(s, k * 0.1, 0, 1);
    return o;
}
