// kind: profile
// profile: vs_1_1 main
// expect: renders
// at 500 250 404040
float4 main(float4 p : POSITION, out float4 c : COLOR0) : POSITION { c = float4(p.zzz * 0.5, 1); return p; }
