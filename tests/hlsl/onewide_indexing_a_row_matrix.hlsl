// kind: onewide
// profile: ps_2_0 main
// expect: renders
// at 500 250 4D661A
float4 main() : COLOR {
    float1x4 m = { 0.1, 0.2, 0.3, 0.4 };
    float4 row = m[0];
    return float4(m[0][2], row.w, row.x, 1);
}
