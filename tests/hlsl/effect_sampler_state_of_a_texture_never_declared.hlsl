// kind: effect
// profile: ps_2_0 main
// expect: fails (5,54): error X3004: undeclared identifier 'colourMapp'
texture colourMap;
sampler2D colourSampler = sampler_state { Texture = <colourMapp>; };
float4 main(float2 uv : TEXCOORD0) : COLOR { return tex2D(colourSampler, uv); }
