// kind: entry
// profile: ps_2_0 main
// expect: renders
// at 500 250 66CCFF
void main(float4 c : COLOR0, out float4 result : COLOR0) { result = c * 2; }
