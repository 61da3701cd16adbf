// kind: call
// profile: ps_2_0 main
// expect: renders
// at 500 250 408000
float pick(int x) { return 0.25; }
float pick(uint x) { return 0.5; }
float4 main() : COLOR { return float4(pick(3), pick(3u), 0, 1); }
