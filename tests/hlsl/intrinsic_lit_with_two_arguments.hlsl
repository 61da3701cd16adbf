// kind: intrinsic
// profile: ps_2_0 main
// expect: fails 'lit'
float4 main() : COLOR { return lit(0.5, 0.5); }
