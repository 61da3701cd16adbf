// kind: message
// profile: ps_2_0 main
// expect: fails cannot convert from 'float4x3' to 'float2'
float4 main() : COLOR {
    float4x3 m = 1;
    float2 v = m;
    return v.x;
}
