// kind: constant
// profile: ps_2_0 main
// expect: fails does not fit
float4 far : register(c40);
float4 main() : COLOR { return far; }
