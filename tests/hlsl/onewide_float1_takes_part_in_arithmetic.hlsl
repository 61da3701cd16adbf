// kind: onewide
// profile: ps_2_0 main
// expect: renders
// at 500 250 404080
float4 main() : COLOR {
    float1 s = 0.5;
    float4 v = s * float4(0.5, 1, 0, 1);
    float1 t = v.y;
    return float4(v.x, t * 0.5, s.x, 1);
}
