// kind: effect
// profile: ps_2_0 main
// expect: renders
// at 500 250 FF4000
technique10 Fancy < string Name = "fancy"; int Order = 2; > {
    pass First { }
    pass Second < bool Visible = true; > { }
}
float4 main() : COLOR { return float4(1, 0.25, 0, 1); }
