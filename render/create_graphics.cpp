// Graphics start-up: the device on the window, the fixed pipeline state, the two shaders, the
// light, the scene and the overlay font.
#include "program/presentation.h"
#include "render/graphics.h"

namespace {

struct RenderStateValue {
    D3DRENDERSTATETYPE state;
    DWORD value;
};

struct StageStateValue {
    D3DTEXTURESTAGESTATETYPE type;
    DWORD value;
};

struct SamplerStateValue {
    D3DSAMPLERSTATETYPE type;
    DWORD value;
};

// Stage 0 modulates the texture by the diffuse colour; alpha is the texture's.
constexpr StageStateValue kStage0[] = {
    {D3DTSS_TEXCOORDINDEX, 0},           {D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {D3DTSS_COLORARG2, D3DTA_DIFFUSE},   {D3DTSS_COLOROP, D3DTOP_MODULATE},
    {D3DTSS_ALPHAARG1, D3DTA_TEXTURE},   {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {D3DTSS_ALPHAOP, D3DTOP_SELECTARG1},
};

constexpr SamplerStateValue kSampler0[] = {
    {D3DSAMP_MIPFILTER, D3DTEXF_NONE},
    {D3DSAMP_MINFILTER, D3DTEXF_LINEAR},
    {D3DSAMP_MAGFILTER, D3DTEXF_LINEAR},
};

const D3DVERTEXELEMENT9 kVertexElements[] = {
    {0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0},
    {0, 12, D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_TEXCOORD, 0},
    D3DDECL_END(),
};

void CompileVertexShader() {
    ID3DXBuffer* code = nullptr;
    const ShaderSource& source = kVertexShaderSource;
    if (FAILED(D3DXCompileShaderFromFileA(source.file, nullptr, nullptr, source.entry,
                                          source.profile, 0, &code, nullptr, &vertexConstants))) {
        MessageBoxA(appWindow, "bad VS code or the file doesn't exist!", "WARNING", MB_OK);
        return;
    }
    device->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &vertexShader);
    code->Release();
}

void CompilePixelShader() {
    ID3DXBuffer* code = nullptr;
    const ShaderSource& source = kPixelShaderSource;
    if (FAILED(D3DXCompileShaderFromFileA(source.file, nullptr, nullptr, source.entry,
                                          source.profile, 0, &code, nullptr, nullptr))) {
        MessageBoxA(appWindow, "bad PS code or the file doesn't exist!", "WARNING", MB_OK);
        return;
    }
    device->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()), &pixelShader);
    code->Release();
}

}  // namespace

void CreateGraphics() {
    direct3D = Direct3DCreate9(D3D_SDK_VERSION);

    D3DPRESENT_PARAMETERS parameters = ProgramPresentation(appWindow);

    if (direct3D) {
        direct3D->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, appWindow,
                               D3DCREATE_SOFTWARE_VERTEXPROCESSING, &parameters, &device);
    }
    // Without a device nothing that needs one runs; the frame reports the failure.
    if (!device) return;

    SetUpScene();

    if (appSettings.showText) {
        textRect = {0, 0, kClientWidth, kClientHeight};
        D3DXCreateFontA(device, kFontHeight, 0, FW_NORMAL, 0, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLEARTYPE_QUALITY, 0, "Verdana", &font);
    }
}

void SetUpScene() {
    // The cull value 0 is none of the cull modes; the device draws both sides for it.
    const RenderStateValue renderStates[] = {
        {D3DRS_AMBIENT, 0},
        {D3DRS_ZENABLE, D3DZB_TRUE},
        {D3DRS_CULLMODE, 0},
        {D3DRS_LIGHTING, FALSE},
        {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
        {D3DRS_FILLMODE, appSettings.wireframe ? DWORD{D3DFILL_WIREFRAME} : DWORD{D3DFILL_SOLID}},
    };
    for (const RenderStateValue& r : renderStates) device->SetRenderState(r.state, r.value);
    for (const StageStateValue& s : kStage0) device->SetTextureStageState(0, s.type, s.value);
    for (const SamplerStateValue& s : kSampler0) device->SetSamplerState(0, s.type, s.value);
    device->CreateVertexDeclaration(kVertexElements, &vertexDeclaration);

    CompileVertexShader();
    CompilePixelShader();

    light = D3DLIGHT9{};
    light.Type = D3DLIGHT_POINT;
    light.Diffuse = {1.0f, 1.0f, 1.0f, 0.0f};
    light.Direction = {1.0f, 0.9f, 1.0f};
    light.Range = 100.0f;
    device->SetLight(0, &light);
    device->LightEnable(0, TRUE);

    SetUpSceneObjects();
}
