// kind: syntax
// profile: ps_2_0 main
// expect: fails integer division by zero
static const int Parts = 8 / 0;
float4 main() : COLOR { return Parts; }
