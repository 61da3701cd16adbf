// The recording window backend: windows exist only as names, message boxes answer IDOK at once
// (their calls are in the log), and a run that outlives its script is cut short.
#include <cstdio>
#include <cstdlib>

#include "platform/core/window_system.h"
#include "platform/record/call_log.h"
#include "platform/record/program_run.h"
#include "platform/record/record_platform.h"

namespace record {
namespace {

Options g_options;
std::function<void(std::uint64_t)> g_idleHook;
bool g_cursorVisible = true;
bool g_screenSaverAllowed = false;

class RecordingWindowBackend : public platform::WindowBackend {
  public:
    void* CreateNativeWindow(const platform::NativeWindowDesc&) override { return &token_; }
    void ShowNativeWindow(void*, bool) override {}
    void RaiseNativeWindow(void*) override {}
    void PumpEvents() override {}
    int ShowMessageBox(void*, const char*, const char*, UINT) override { return IDOK; }
    void SetCursorVisible(bool visible) override { g_cursorVisible = visible; }
    void SetScreenSaverAllowed(bool allowed) override { g_screenSaverAllowed = allowed; }
    void OnIdle(std::uint64_t iteration) override {
        if (iteration >= g_options.maxIdleIterations) FinishRun(RunStatus::IterationLimit, 0);
        if (g_idleHook) g_idleHook(iteration);
    }

  private:
    char token_ = 0;
};

}  // namespace

Options& CurrentOptions() {
    return g_options;
}
void SetIdleHook(std::function<void(std::uint64_t)> hook) {
    g_idleHook = std::move(hook);
}
bool CursorVisible() {
    return g_cursorVisible;
}
bool ScreenSaverAllowed() {
    return g_screenSaverAllowed;
}

void InstallRecordingPlatform(const Options& options) {
    static RecordingWindowBackend backend;
    g_options = options;
    g_idleHook = nullptr;
    g_cursorVisible = true;
    g_screenSaverAllowed = false;
    Log().Clear();
    platform::ClearObjectNames();
    platform::SetCallTrace(&Log());
    platform::SetWindowBackend(&backend);
    platform::ResetWindowSystem();
}

}  // namespace record
