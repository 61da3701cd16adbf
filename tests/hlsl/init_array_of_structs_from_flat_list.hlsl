// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 809966
struct S { float a; float2 b; float c; };
float4 main() : COLOR {
    S arr[2] = { 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8 };
    return float4(arr[1].a, arr[1].b.x, arr[0].c, 1);
}
