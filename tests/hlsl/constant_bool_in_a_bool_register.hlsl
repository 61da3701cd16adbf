// kind: constant
// profile: ps_3_0 main
// expect: renders
// register b0 1
// at 500 250 FF0000
bool useRed;
float4 main() : COLOR { return useRed ? float4(1, 0, 0, 1) : float4(0, 0, 1, 1); }
