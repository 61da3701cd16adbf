// kind: varying
// profile: vs_2_0 vs
// expect: renders
// pair: ps_2_0 ps
// at 500 250 4080BF
struct V { float4 p : POSITION; float4 t[2] : TEXCOORD1; };
V vs(float4 p : POSITION) {
    V o;
    o.p = p;
    o.t[0] = float4(0.25, 0, 0, 0);
    o.t[1] = float4(0, 0.5, 0.75, 0);
    return o;
}
float4 ps(float4 t[2] : TEXCOORD1) : COLOR { return float4(t[0].x, t[1].y, t[1].z, 1); }
