// kind: call
// profile: ps_2_0 main
// expect: renders
// at 500 250 1A334D
float4 main(float4 c : COLOR0) : COLOR {
    float1 scale = 0.5;
    return float4(mul(scale, float1x4(c)).xyz, 1);
}
