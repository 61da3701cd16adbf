// kind: entry
// profile: vs_2_0 main
// expect: renders
// at 500 250 808000
void main(in out float4 p : POSITION, out float4 c : COLOR0) { c = float4(p.z, 1 - p.z, 0, 1); }
