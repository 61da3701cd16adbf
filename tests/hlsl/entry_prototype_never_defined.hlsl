// kind: entry
// profile: ps_2_0 main
// expect: fails never defined
float helper(float x);
float4 main() : COLOR { return helper(1); }
