// kind: entry
// profile: vs_2_0 main
// expect: renders
// at 500 100 80CC00
// at 500 400 803300
void main(float4 p : POSITION, out float4 o : POSITION, out float4 c : COLOR0) {
    o = p;
    c = float4(p.x * 0.5 + 0.5, p.y * 0.5 + 0.5, 0, 1);
}
