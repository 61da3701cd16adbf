// kind: call
// profile: ps_2_0 main
// expect: renders
// at 500 250 4080BF
void halves(out float2 x) { x = float2(0.25, 0.5); }
void almostThree(out float x) { x = 2.6; }
float4 main() : COLOR {
    float4 k = float4(0, 0, 0.75, 1);
    int n;
    halves((float2)k);
    almostThree((float)n);
    return float4(k.xy, k.z * n / 2, 1);
}
