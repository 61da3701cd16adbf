// kind: loop
// profile: ps_2_0 main
// expect: renders
// set colours 0.25 0 0 0  0 0.25 0 0  0 0 0.5 0  1 1 1 1
// at 500 250 804040
float4 colours[4];
float4 light(int n) {
    float4 s = 0;
    for (int i = 0; i < n; i++) s += colours[i];
    return s;
}
float4 twice(int m) {
    float4 s = 0;
    int k = 0;
    while (k < m * 2) { s += colours[2] * 0.25; k++; }
    return s;
}
float4 main() : COLOR { return light(2) + twice(1) + light(1); }
