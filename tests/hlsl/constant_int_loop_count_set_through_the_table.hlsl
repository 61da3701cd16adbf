// kind: constant
// profile: vs_3_0 vs
// pair: ps_3_0 ps
// expect: renders
// setint count 2
// at 500 250 008000
int count;
struct V { float4 p : POSITION; float4 c : COLOR0; };
V vs(float4 p : POSITION) {
    V o;
    o.p = p;
    o.c = float4(0, 0, 0, 1);
    for (int i = 0; i < count; i++) o.c.g += 0.25;
    return o;
}
float4 ps(float4 c : COLOR0) : COLOR { return c; }
