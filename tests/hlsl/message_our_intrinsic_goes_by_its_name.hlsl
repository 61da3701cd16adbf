// kind: message
// profile: ps_2_0 main
// expect: fails 'fmod'
float4 main() : COLOR { return fmod(1); }
