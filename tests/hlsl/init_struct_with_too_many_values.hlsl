// kind: init
// profile: ps_2_0 main
// expect: fails initializer
struct S { float a; float b; };
float4 main() : COLOR {
    S s = { 1, 2, 3 };
    return s.a;
}
