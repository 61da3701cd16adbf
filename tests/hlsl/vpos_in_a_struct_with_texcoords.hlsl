// kind: vpos
// profile: ps_3_0 main
// expect: renders
// at 500 100 338000
struct PIn { float2 uv : TEXCOORD0; float2 pixel : VPOS; };
float4 main(PIn i) : COLOR { return float4(i.pixel.y / 500, i.uv.x, 0, 1); }
