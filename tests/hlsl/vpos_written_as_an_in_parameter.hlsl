// kind: vpos
// profile: ps_3_0 main
// expect: renders
// at 250 100 403300
// at 750 400 BFCC00
// "in" makes glslang take VPOS for its own gl_FragCoord, of the wrong type for a float2.
float4 main(float2 uv : TEXCOORD0, in float2 p : VPOS) : COLOR {
    return float4(p.x / 1000, p.y / 500, uv.x * 0, 1);
}
