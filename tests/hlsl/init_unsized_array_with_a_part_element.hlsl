// kind: init
// profile: ps_2_0 main
// expect: fails initializer
float4 main() : COLOR {
    float2 a[] = { 1, 2, 3 };
    return a[0].x;
}
