// kind: varying
// profile: ps_2_0 main
// expect: renders
// at 500 250 669933
void main(float4 c : COLOR0, out float4 colour : COLOR0, out float depth : DEPTH) { colour = c.gbra; depth = 0.25; }
