// kind: entry
// profile: ps_2_0 nothere
// expect: fails entry point 'nothere' not found
float4 main() : COLOR { return 1; }
