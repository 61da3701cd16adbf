// kind: call
// profile: ps_2_0 main
// expect: renders
// at 500 250 336699 2
// setmatrix m 0.1 0.2 0.3 0  0.5 0.5 0.5 0.5  0.7 0.7 0.7 0.7  0.9 0.9 0.9 0.9
// float1x4 + float4x4: the matrix is cut to its first row, as the real compiler does (X3206).
float4x4 m;
float4 main() : COLOR {
    float1x4 r = float1x4(0.1, 0.2, 0.3, 1);
    float1x4 t = r + m;
    return float4(t[0].xyz, 1);
}
