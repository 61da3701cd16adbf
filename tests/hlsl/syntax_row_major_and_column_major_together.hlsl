// kind: syntax
// profile: vs_2_0 main
// expect: fails row_major and column_major cannot be used together
row_major column_major float4x4 m;
float4 main(float4 p : POSITION) : POSITION { return mul(p, m); }
