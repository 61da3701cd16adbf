// kind: constant
// profile: ps_3_0 main
// expect: renders
// setbool useRed 0
// at 500 250 0000FF
bool useRed;
float4 main() : COLOR { return useRed ? float4(1, 0, 0, 1) : float4(0, 0, 1, 1); }
