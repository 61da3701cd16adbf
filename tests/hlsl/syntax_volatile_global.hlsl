// kind: syntax
// profile: ps_2_0 main
// expect: fails volatile applies only to local variables
volatile float k;
float4 main(float4 c : COLOR0) : COLOR { return c * k; }
