// kind: message
// profile: ps_2_0 main
// expect: fails 'column_major' applies only to matrices
row_major float4 a;
column_major float b;
float4 main() : COLOR { return a + b; }
