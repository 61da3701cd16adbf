// kind: entry
// profile: ps_2_0 main
// expect: renders
// set $tint 0.5 0.25 1 1
// at 500 250 8040FF
float4 main(uniform float4 tint) : COLOR { return tint; }
