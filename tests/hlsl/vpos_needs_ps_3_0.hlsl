// kind: vpos
// profile: ps_2_0 main
// expect: fails VPOS
float4 main(float2 p : VPOS) : COLOR { return p.xyxy; }
