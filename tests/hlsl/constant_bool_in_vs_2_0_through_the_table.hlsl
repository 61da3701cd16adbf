// kind: constant
// profile: vs_2_0 main
// expect: renders
// setbool flip 1
// at 500 250 00FF00
bool flip;
float4 main(float4 p : POSITION, out float4 c : COLOR0) : POSITION {
    c = float4(1, 0, 0, 1);
    if (flip) c = float4(0, 1, 0, 1);
    return p;
}
