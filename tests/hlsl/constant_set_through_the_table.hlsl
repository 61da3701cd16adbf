// kind: constant
// profile: ps_2_0 main
// expect: renders
// set a 0.25
// set b 0.5
// set c 0 0.75
// at 500 250 4080BF
float a;
float b;
float2 c;
float4 main() : COLOR { return float4(a, b, c.y, 1); }
