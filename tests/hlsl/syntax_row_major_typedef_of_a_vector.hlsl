// kind: syntax
// profile: vs_2_0 main
// expect: fails applies only to matrices
typedef row_major float4 Row;
Row r;
float4 main(float4 p : POSITION) : POSITION { return p * r; }
