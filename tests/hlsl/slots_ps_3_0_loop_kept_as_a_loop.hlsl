// kind: slots
// profile: ps_3_0 main
// expect: renders
// at 500 250 000000
// No gradients and no [unroll]: ps_3_0 runs it as a loop, its body counted once.
float4 main(float4 c : COLOR0) : COLOR {
    float s = 0;
    for (int i = 0; i < 200; i++) s += sin(c.r * i) * 0.0;
    return float4(s, s, s, 1);
}
