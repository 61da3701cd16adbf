// kind: alias
// profile: ps_3_0 main
// expect: renders
// at 500 250 669933
struct POut { float4 colour : SV_Target0; };
POut main(float4 c : COLOR0) { POut o; o.colour = c.gbra; return o; }
