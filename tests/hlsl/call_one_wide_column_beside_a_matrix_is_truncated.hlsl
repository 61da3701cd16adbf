// kind: call
// profile: ps_2_0 main
// expect: renders
// at 500 250 336699 2
// setmatrix m 2 9 9 9  2 9 9 9  2 9 9 9  9 9 9 9
// float4x4 * float3x1: the matrix is cut to the first three rows of its first column.
float4x4 m;
float4 main() : COLOR {
    float3x1 c = float3x1(0.1, 0.2, 0.3);
    float3x1 t = m * c;
    return float4(t[0][0], t[1][0], t[2][0], 1);
}
