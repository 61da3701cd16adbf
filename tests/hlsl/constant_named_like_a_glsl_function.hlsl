// kind: constant
// profile: ps_2_0 main
// expect: renders
// set noise 1
// set shape.length 0.5
// at 500 250 FF8000
// GLSL reserves these names; the translation renames them, and reads the registers into them.
float noise;
struct Shape { float length; };
Shape shape;
float4 main() : COLOR { return float4(noise, shape.length, 0, 1); }
