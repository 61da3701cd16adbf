// kind: constant
// profile: ps_3_0 main
// expect: fails does not fit
float4 many[300];
float4 main(float2 uv : TEXCOORD0) : COLOR { return many[(int)(uv.x * 299)]; }
