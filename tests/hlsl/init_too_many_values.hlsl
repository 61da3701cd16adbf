// kind: init
// profile: ps_2_0 main
// expect: fails initializer
float4 main() : COLOR {
    float2 k[2] = { 1, 2, 3, 4, 5 };
    return k[0].x;
}
