// kind: slots
// profile: ps_2_0 main
// expect: fails texture instruction slots
sampler2D s;
float4 main(float2 uv : TEXCOORD0) : COLOR {
    float4 a = tex2D(s, uv) + tex2D(s, uv * 2) + tex2D(s, uv * 3) + tex2D(s, uv * 4);
    a += tex2D(s, uv * 5) + tex2D(s, uv * 6) + tex2D(s, uv * 7) + tex2D(s, uv * 8);
    a += tex2D(s, uv * 9) + tex2D(s, uv * 10) + tex2D(s, uv * 11) + tex2D(s, uv * 12);
    a += tex2D(s, uv * 13) + tex2D(s, uv * 14) + tex2D(s, uv * 15) + tex2D(s, uv * 16);
    a += tex2D(s, uv * 17) + tex2D(s, uv * 18) + tex2D(s, uv * 19) + tex2D(s, uv * 20);
    a += tex2D(s, uv * 21) + tex2D(s, uv * 22) + tex2D(s, uv * 23) + tex2D(s, uv * 24);
    a += tex2D(s, uv * 25) + tex2D(s, uv * 26) + tex2D(s, uv * 27) + tex2D(s, uv * 28);
    a += tex2D(s, uv * 29) + tex2D(s, uv * 30) + tex2D(s, uv * 31) + tex2D(s, uv * 32);
    return a + tex2D(s, uv * 33);
}
