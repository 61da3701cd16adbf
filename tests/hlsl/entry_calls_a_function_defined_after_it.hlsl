// kind: entry
// profile: ps_2_0 main
// expect: renders
// at 500 250 408000
float halve(float x);
float4 main() : COLOR { return float4(halve(0.5), halve(1), 0, 1); }
float halve(float x) { return x * 0.5; }
