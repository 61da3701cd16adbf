// kind: constant
// profile: ps_2_0 main
// expect: renders
// setdefaults
// at 500 250 808000
float4 tint = { 1, 0, 0, 1 };
float scale = 0.5;
float4 main() : COLOR { return tint * scale + float4(0, 0.5, 0, 1); }
