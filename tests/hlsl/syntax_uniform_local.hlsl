// kind: syntax
// profile: ps_2_0 main
// expect: fails local variables cannot be uniform
float4 main(float4 c : COLOR0) : COLOR { uniform float k = 2; return c * k; }
