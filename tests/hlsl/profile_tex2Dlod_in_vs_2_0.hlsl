// kind: profile
// profile: vs_2_0 main
// expect: fails vs_2_0
sampler2D s;
float4 main(float4 p : POSITION) : POSITION { return p + tex2Dlod(s, float4(p.xy, 0, 0)); }
