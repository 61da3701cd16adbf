// kind: entry
// profile: ps_2_0 main
// expect: fails does not return a value
float4 main() : COLOR { }
