// kind: message
// profile: ps_2_0 main
// expect: fails (10,
#define TWICE(x) ((x) * 2)
/* several
   lines
   of comment */
float4 main() : COLOR
{
    return TWICE(nothing);
}
