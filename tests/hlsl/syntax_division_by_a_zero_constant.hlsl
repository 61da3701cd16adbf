// kind: syntax
// profile: ps_2_0 main
// expect: fails division by zero
static const int Zero = 0;
float4 main() : COLOR { int a = 3 / Zero; return a; }
