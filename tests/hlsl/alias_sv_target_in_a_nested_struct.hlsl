// kind: alias
// profile: ps_2_0 main
// expect: renders
// at 500 250 336699
struct Colour { float4 value : sv_target; };
struct Output { Colour colour; };
Output main(float4 c : COLOR0) { Output o; o.colour.value = c; return o; }
