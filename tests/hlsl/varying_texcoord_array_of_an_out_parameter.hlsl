// kind: varying
// profile: vs_2_0 vs
// expect: renders
// pair: ps_2_0 ps
// at 500 250 4080BF
struct V { float4 p : POSITION; float4 t[2] : TEXCOORD1; };
void vs(float4 p : POSITION, out float4 o : POSITION, out float4 t[2] : TEXCOORD1) {
    o = p;
    t[0] = float4(0.25, 0, 0, 0);
    t[1] = float4(0, 0.5, 0.75, 0);
}
float4 ps(V v) : COLOR { return float4(v.t[0].x, v.t[1].y, v.t[1].z, 1); }
