// The main loop: drain the queue completely, then run one idle iteration (poll the mouse, render,
// apply the toggle keys, move and turn the camera; with --watch, first reload what was saved).
#include "camera/camera.h"
#include "input/mouse_input.h"
#include "render/graphics.h"
#include "render/watch.h"
#include "shell/shell.h"

namespace {

void FollowWireframe(bool on) {
    if (device) device->SetRenderState(D3DRS_FILLMODE, on ? D3DFILL_WIREFRAME : D3DFILL_SOLID);
}

void FollowMouseLook(bool on) {
    ShowCursor(on ? FALSE : TRUE);
}

struct ToggleKey {
    WPARAM key;
    bool AppSettings::*setting;
    void (*followUp)(bool nowOn);
};

// Acted on once per press: the entry is cleared when the toggle is applied.
constexpr ToggleKey kToggleKeys[] = {
    {VK_SPACE, &AppSettings::showText, nullptr},
    {VK_RETURN, &AppSettings::wireframe, FollowWireframe},
    {'M', &AppSettings::mouseLook, FollowMouseLook},
    {'R', &AppSettings::rotateMeshes, nullptr},
    {'U', &AppSettings::useShaders, nullptr},
};

struct MovementKey {
    WPARAM key;
    void (Camera::*operation)(short amount);
    short amount;
};

// Acted on in every iteration while held.
constexpr MovementKey kMovementKeys[] = {
    {'W', &Camera::Move, +1},
    {'S', &Camera::Move, -1},
    {'A', &Camera::Strafe, +1},
    {'D', &Camera::Strafe, -1},
};

}  // namespace

void RunIdleIteration() {
    // Before the frame, so that a save shows in the frame of this iteration.
    if (watchFiles) CheckWatchedFiles();
    PollMouse();
    RenderFrame();

    for (const ToggleKey& toggle : kToggleKeys) {
        if (!keyTable.down[toggle.key]) continue;
        bool& setting = appSettings.*toggle.setting;
        setting = !setting;
        if (toggle.followUp) toggle.followUp(setting);
        keyTable.down[toggle.key] = false;
    }

    // Without a device there is no scene and no camera to move.
    if (!camera) return;
    for (const MovementKey& movement : kMovementKeys) {
        if (keyTable.down[movement.key]) (camera->*movement.operation)(movement.amount);
    }
    if (appSettings.mouseLook) {
        camera->Pitch();
        camera->Yaw();
    }
}

int RunMainLoop() {
    MSG msg{};
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            RunIdleIteration();
        }
    }
}
