// kind: intrinsic
// profile: ps_2_0 main
// expect: renders
// at 500 250 663700
float4 main(float4 c : COLOR0) : COLOR {
    float4 l = lit(c.g, c.b, 3);
    return float4(l.y, l.z, 0, 1);
}
