// kind: constant
// profile: ps_2_0 main
// expect: renders
// set list 0 0 0.75 0 0.25 0.5
// at 500 250 4080BF
struct Inner { float2 a; float b; };
Inner list[2];
float4 main() : COLOR { return float4(list[1].a.y, list[1].b, list[0].b, 1); }
