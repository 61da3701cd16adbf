// kind: effect
// profile: ps_2_0 main
// expect: renders
// set tint 0 1 0 1
// at 500 250 00FF00
float4 tint < string UIName = "Tint"; string UIWidget = "Color"; > = { 1, 0, 0, 1 };
float4 main() : COLOR { return tint; }
