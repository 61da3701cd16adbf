// kind: vpos
// profile: ps_2_0 main
// expect: renders
// at 500 250 336699
float4 main(float4 p : SV_Position, float4 c : COLOR0) : SV_Target { return c; }
