// kind: constant
// profile: vs_3_0 vs
// pair: ps_3_0 ps
// expect: renders
// setbool flip 1
// set flags 1 0 1
// at 500 250 00FFFF
bool flip;
bool flags[3];
struct V { float4 p : POSITION; float4 c : COLOR0; };
V vs(float4 p : POSITION) {
    V o;
    o.p = p;
    o.c = flip ? float4(0, 1, 0, 1) : float4(1, 0, 0, 1);
    if (flags[2]) o.c.b = 1;
    return o;
}
float4 ps(float4 c : COLOR0) : COLOR { return c; }
