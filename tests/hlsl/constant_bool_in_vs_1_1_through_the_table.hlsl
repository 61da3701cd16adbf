// kind: constant
// profile: vs_1_1 main
// expect: renders
// setbool flip 1
// register c1 1
// at 500 250 00FFFF
bool flip;
bool blue;  // vs_1_1 has no BOOL registers: c1
float4 main(float4 p : POSITION, out float4 c : COLOR0) : POSITION {
    c = flip ? float4(0, 1, 0, 1) : float4(1, 0, 0, 1);
    c.b = blue ? 1 : 0;
    return p;
}
