// kind: entry
// profile: ps_2_0 main
// expect: renders
// at 500 250 336699
[numthreads(8, 8, 1)]
[earlydepthstencil]
[maxvertexcount(3)]
float4 main(float4 c : COLOR0) : COLOR { return c; }
