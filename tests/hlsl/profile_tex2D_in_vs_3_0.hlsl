// kind: profile
// profile: vs_3_0 main
// expect: fails tex2Dlod
sampler2D s;
float4 main(float4 p : POSITION) : POSITION { return p + tex2D(s, p.xy); }
