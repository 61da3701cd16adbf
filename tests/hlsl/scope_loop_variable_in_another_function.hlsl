// kind: scope
// profile: ps_2_0 main
// expect: fails undeclared identifier
float f() {
    for (int i = 0; i < 2; i++) { }
    return i;
}
float g() { return i; }
float4 main() : COLOR { return f() + g(); }
