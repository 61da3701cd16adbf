// kind: alias
// profile: vs_2_0 main
// expect: renders
// at 500 250 00FF00
// at 20 20 00FF00
void main(inout float4 p : SV_Position, out float4 c : COLOR0) { c = float4(0, 1, 0, 1); }
