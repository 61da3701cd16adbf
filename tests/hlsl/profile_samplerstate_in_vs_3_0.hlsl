// kind: profile
// profile: vs_3_0 main
// expect: compiles
SamplerState s;
float4 main(float4 p : POSITION) : POSITION { return p; }
