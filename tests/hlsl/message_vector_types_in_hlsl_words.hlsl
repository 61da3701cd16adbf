// kind: message
// profile: ps_2_0 main
// expect: fails cannot assign
struct S { float3 n; };
float4 main() : COLOR {
    S s;
    s = float3(1, 2, 3);
    return 1;
}
