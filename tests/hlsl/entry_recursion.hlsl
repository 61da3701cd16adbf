// kind: entry
// profile: ps_2_0 main
// expect: fails recursion
float down(float x) { return x > 0 ? down(x - 1) : 0; }
float4 main() : COLOR { return down(2); }
