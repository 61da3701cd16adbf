// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 1A4D66
struct S { float a; float2 b; float c; };
float4 main() : COLOR {
    S s = { 0.1, 0.2, 0.3, 0.4 };
    return float4(s.a, s.b.y, s.c, 1);
}
