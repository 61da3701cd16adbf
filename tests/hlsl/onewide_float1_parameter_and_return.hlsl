// kind: onewide
// profile: ps_2_0 main
// expect: renders
// at 500 250 804000
float1 twice(float1 x) { return x * 2; }
float4 main() : COLOR { return float4(twice(0.25), twice(float1(0.125)), 0, 1); }
