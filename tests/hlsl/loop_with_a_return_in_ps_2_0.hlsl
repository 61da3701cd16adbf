// kind: loop
// profile: ps_2_0 main
// expect: renders
// set levels 0.1 0.3 0.6 0.9
// at 500 250 808080
float levels[4];
float4 pick(float x) {
    for (int i = 0; i < 4; i++) {
        if (levels[i] > x) return levels[i];
    }
    return 0;
}
float4 main(float4 c : COLOR0) : COLOR {
    float4 s = pick(c.x);
    for (int j = 0; j < 4; j++) {
        if (levels[j] > 0.5) break;
        s += 0.1;
    }
    return s;
}
