// kind: constant
// profile: ps_2_0 main
// expect: renders
// register c0 1
// at 500 250 00FF00
bool unusedFirst;
bool useGreen;
float4 main() : COLOR { return useGreen ? float4(0, 1, 0, 1) : float4(1, 0, 0, 1); }
