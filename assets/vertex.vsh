// The default vertex shader: compiled at start-up, while the frames are drawn with the
// fixed-function vertex stage.
float4x4 worldViewProjection;

struct VS_OUTPUT {
    float4 position : POSITION;
    float2 uv : TEXCOORD0;
};

VS_OUTPUT vs_main(float4 position : POSITION, float2 uv : TEXCOORD0) {
    VS_OUTPUT output;
    output.position = mul(position, worldViewProjection);
    output.uv = uv;
    return output;
}
