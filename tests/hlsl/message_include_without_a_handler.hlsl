// kind: message
// profile: ps_2_0 main
// expect: fails
#include "other.hlsl"
float4 main() : COLOR { return 1; }
