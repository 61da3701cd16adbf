// kind: syntax
// profile: ps_2_0 main
// expect: fails applies only to matrices
float4 main() : COLOR {
    column_major float x = 1;
    return x;
}
