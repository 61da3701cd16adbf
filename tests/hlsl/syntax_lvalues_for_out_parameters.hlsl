// kind: syntax
// profile: ps_2_0 main
// expect: renders
// at 500 250 8080BF
struct S { float a; float2 b; };
void set(out float x, float v) { x = v; }
void pair(out float2 x) { x = float2(0.25, 0.75); }
float4 main() : COLOR {
    float4 c = 0;
    S s;
    float k[2];
    set(c.x, 0.5);
    pair(c.yz);
    set(s.a, 1);
    pair(s.b);
    set(k[1], 0.5);
    return float4(c.x * s.a, c.y + s.b.x, c.z * k[1] * 2, 1);
}
