// kind: profile
// profile: vs_1_1 main
// expect: fails vs_1_1
sampler2D s;
float4 main(float4 p : POSITION) : POSITION { return p + tex2D(s, p.xy); }
