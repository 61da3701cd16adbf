// kind: init
// profile: ps_2_0 main
// expect: fails initializer
float4 main() : COLOR {
    float3 v = { 1, 2 };
    return v.x;
}
