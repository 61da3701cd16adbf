// kind: effect
// profile: ps_2_0 main
// expect: fails (6,82): error X3004: undeclared identifier 'missing'
texture t;
sampler2D s = sampler_state { Texture = <t>; };
float4 main(float2 uv : TEXCOORD0) : COLOR { float4 c = tex2D(s, uv); return c + missing; }
