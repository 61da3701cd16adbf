// kind: alias
// profile: ps_2_0 main
// expect: renders
// at 500 250 FF8000
void main(out float4 c : sv_target) { c = float4(1, 0.5, 0, 1); }
