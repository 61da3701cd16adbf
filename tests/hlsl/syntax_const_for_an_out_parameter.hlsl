// kind: syntax
// profile: ps_2_0 main
// expect: fails l-value specifies const object
void one(out float x) { x = 1; }
float4 main(float4 c : COLOR0) : COLOR { const float k = 2; one(k); return c * k; }
