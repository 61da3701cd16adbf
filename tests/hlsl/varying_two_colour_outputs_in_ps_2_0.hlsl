// kind: varying
// profile: ps_2_0 main
// expect: compiles
struct P { float4 a : COLOR0; float4 b : COLOR1; };
P main(float4 c : COLOR0) { P o; o.a = c; o.b = 1 - c; return o; }
