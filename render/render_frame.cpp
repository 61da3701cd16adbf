// One frame: clear, projection, light, the rotation animation, the two objects with the shader
// binding that useShaders selects, the text overlay, present.
#include <iterator>

#include "program/presentation.h"
#include "render/graphics.h"
#include "render/watch.h"

namespace {

constexpr D3DCOLOR kBackground = 0xFF2F2F2F;
constexpr D3DCOLOR kYellow = 0xFFFFFF00;
constexpr D3DCOLOR kRed = 0xFFFF0000;

struct OverlayLine {
    const char* text;
    D3DCOLOR colour;
};

constexpr OverlayLine kOverlay[] = {
    {"rendering in process...", kYellow},
    {"SPACE: show/hide text; RETURN: wireframe; M: mouse look; R: rotate meshes; U: use shaders",
     kYellow},
    {"dbg info empty", kRed},
};

MeshObject* Slot(int i) {
    return i < sceneTable.count ? sceneTable.slots[i] : nullptr;
}

void DrawOverlay() {
    if (!font) return;
    // The top edge steps down one line between lines; it stays at the last line's top.
    textRect.top = 0;
    for (std::size_t i = 0; i < std::size(kOverlay); ++i) {
        if (i > 0) textRect.top += kFontHeight;
        font->DrawTextA(nullptr, kOverlay[i].text, -1, &textRect, DT_TOP | DT_LEFT,
                        kOverlay[i].colour);
    }
    // With --watch, each file that failed to load shows its message until it is mended.
    if (!watchFiles) return;
    for (const WatchFailure& failure : WatchFailures()) {
        textRect.top += kFontHeight;
        font->DrawTextA(nullptr, failure.line.c_str(), -1, &textRect, DT_TOP | DT_LEFT, kRed);
    }
}

}  // namespace

void RenderFrame() {
    if (!device) {
        // Reported once: the frame would otherwise bring the same box back at every iteration.
        static bool reported = false;
        if (!reported) {
            reported = true;
            MessageBoxA(nullptr, "pD3DDevice initialize FAILED!", "FATAL ERROR",
                        MB_ICONINFORMATION);
        }
        // Nothing can be drawn: the loop waits for the next message instead of spinning.
        WaitMessage();
        return;
    }
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, kBackground, 1.0f, 0);
    device->SetVertexShader(nullptr);

    Matrix4 projection;
    D3DXMatrixPerspectiveFovLH(&projection, 0.7853982f, 2.0f, 1.0f, 500.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    Matrix4 identity;
    D3DXMatrixIdentity(&identity);
    device->SetTransform(D3DTS_WORLD, &identity);

    if (SUCCEEDED(device->BeginScene())) {
        light.Diffuse.r = 1.0f;
        light.Diffuse.g = 1.0f;
        light.Diffuse.b = 1.0f;
        device->SetLight(0, &light);

        MeshObject* tiger = Slot(0);
        MeshObject* floor = Slot(1);
        if (appSettings.rotateMeshes) {
            rotationAngle += 0.9f;
            if (tiger) tiger->SetRotation(0, 180 - rotationAngle, 0);
        }
        // Slot 0 is drawn with the pixel shader bound by the previous frame.
        if (tiger) tiger->Draw();
        device->SetVertexDeclaration(vertexDeclaration);
        if (appSettings.useShaders) {
            device->SetPixelShader(pixelShader);
        } else {
            device->SetVertexShader(nullptr);
            device->SetPixelShader(nullptr);
        }
        if (appSettings.rotateMeshes && floor) floor->SetRotation(0, rotationAngle, 0);
        if (floor) floor->Draw();
        if (appSettings.showText) DrawOverlay();
        device->EndScene();
    }
    device->Present(nullptr, nullptr, nullptr, nullptr);
}
