// kind: syntax
// profile: ps_2_0 main
// expect: fails const variables must be initialized
float4 main(float4 c : COLOR0) : COLOR { const float k; return c * k; }
