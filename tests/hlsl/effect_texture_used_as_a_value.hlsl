// kind: effect
// profile: ps_2_0 main
// expect: fails undeclared identifier
texture t;
float4 main() : COLOR { return t; }
