// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 80994D
float4 main() : COLOR {
    float4 a[] = { 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8 };
    return float4(a[1].x, a[1].y, a[0].z, 1);
}
