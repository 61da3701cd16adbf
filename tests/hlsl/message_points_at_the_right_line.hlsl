// kind: message
// profile: ps_2_0 main
// expect: fails (7,
float4 main() : COLOR
{
    float4 result = 0;
    result += undefinedThing;
    return result;
}
