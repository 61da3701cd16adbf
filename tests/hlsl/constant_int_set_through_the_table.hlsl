// kind: constant
// profile: ps_2_0 main
// expect: renders
// setint level 3
// at 500 250 BF0000
int level;
float4 main() : COLOR { return float4(level * 0.25, 0, 0, 1); }
