// kind: message
// profile: ps_2_0 main
// expect: fails #error
#error this shader is not finished
float4 main() : COLOR { return 1; }
