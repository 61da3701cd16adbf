// kind: effect
// profile: ps_3_0 main
// expect: fails shader model 4
RWTexture2D<float4> target;
float4 main() : COLOR { return 1; }
