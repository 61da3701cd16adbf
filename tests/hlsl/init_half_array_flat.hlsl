// kind: init
// profile: ps_2_0 main
// expect: renders
// at 500 250 40FF80
float4 main() : COLOR {
    half2 h[2] = { 0.5, 0.25, 1, 0 };
    return float4(h[0].y, h[1].x, h[0].x, 1);
}
