// The SDL platform on its own under a real X server, for the end-to-end tests: a window made
// through the Win32 calls, with the DirectInput mouse, the key messages, or a message box.
//
//   sdl_probe mouse [raw|cursor]   reads the mouse in a loop, as the program's idle iterations
//                                  do; stdin: reset, total (prints "DX DY"), hide, quit
//   sdl_probe keys                 prints "key 0xVK" for each WM_KEYDOWN; stdin: quit
//   sdl_probe box owner|none TYPE CAPTION TEXT
//                                  shows MessageBoxA with or without the window as its owner;
//                                  prints the messages the window procedure gets meanwhile and
//                                  "answer N" at the end
#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/core/window_system.h"
#include "platform/sdl/message_box_layout.h"
#include "platform/sdl/sdl_platform.h"

namespace {

bool g_inBox = false;

LRESULT Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const char* during = g_inBox ? "during-box " : "";
    if (message == WM_KEYDOWN) std::printf("%skey 0x%02X\n", during, static_cast<unsigned>(wParam));
    if (message == WM_CLOSE) {
        std::printf("%sclose\n", during);
        PostQuitMessage(0);
        std::fflush(stdout);
        return 0;
    }
    std::fflush(stdout);
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(const char* title) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = "Probe";
    RegisterClassA(&wc);
    RECT r{0, 0, 400, 300};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    HWND w =
        CreateWindowExA(0, "Probe", title, WS_OVERLAPPEDWINDOW, 300, 200, r.right - r.left,
                        r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(w, SW_SHOW);
    SetForegroundWindow(w);
    SetFocus(w);
    return w;
}

// Drains the queue; false once WM_QUIT comes.
bool Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) return false;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

// A line from stdin if one is waiting, else empty.
std::string Command(int waitMs) {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    if (poll(&fd, 1, waitMs) <= 0) return {};
    static std::string buffer;
    char chunk[256];
    const ssize_t n = read(STDIN_FILENO, chunk, sizeof chunk);
    if (n <= 0) return "quit";
    buffer.append(chunk, static_cast<std::size_t>(n));
    const std::size_t end = buffer.find('\n');
    if (end == std::string::npos) return {};
    std::string line = buffer.substr(0, end);
    buffer.erase(0, end + 1);
    return line;
}

int Mouse(const char* source) {
    sdl::ChooseMouseSource(std::strcmp(source, "cursor") == 0 ? sdl::MouseSource::Cursor
                                                              : sdl::MouseSource::RawX11);
    HWND window = MakeWindow("sdl_probe");
    void* out = nullptr;
    DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A, &out,
                       nullptr);
    auto* input = static_cast<IDirectInput8*>(out);
    IDirectInputDevice8* mouse = nullptr;
    if (!input || FAILED(input->CreateDevice(GUID_SysMouse, &mouse, nullptr)) ||
        FAILED(mouse->SetDataFormat(&c_dfDIMouse)) ||
        FAILED(mouse->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND)) ||
        FAILED(mouse->Acquire())) {
        std::printf("no mouse\n");
        return 1;
    }
    const bool raw = sdl::MouseSourceInUse() == sdl::MouseSource::RawX11;
    std::printf("ready %s\n", raw ? "raw" : "cursor");
    std::fflush(stdout);
    long totalX = 0, totalY = 0;
    for (;;) {
        if (!Pump()) return 0;
        DIMOUSESTATE state{};
        if (SUCCEEDED(mouse->GetDeviceState(sizeof state, &state))) {
            totalX += state.lX;
            totalY += state.lY;
        }
        const std::string command = Command(1);
        if (command == "quit") return 0;
        if (command == "reset") totalX = totalY = 0;
        if (command == "hide") ShowCursor(FALSE);
        if (command == "total") std::printf("%ld %ld\n", totalX, totalY);
        if (!command.empty()) {
            std::printf("ok\n");
            std::fflush(stdout);
        }
    }
}

int Keys() {
    MakeWindow("sdl_probe");
    std::printf("ready\n");
    std::fflush(stdout);
    for (;;) {
        if (!Pump()) return 0;
        const std::string command = Command(2);
        if (command == "quit") return 0;
        if (!command.empty()) {
            std::printf("ok\n");
            std::fflush(stdout);
        }
    }
}

int Box(bool owned, UINT type, const char* caption, const char* text) {
    HWND window = MakeWindow("sdl_probe");
    Pump();
    // Where our own box puts its buttons, for clicks.
    for (const sdl::BoxButton& b : sdl::OwnBoxLayout(text, type).buttons) {
        std::printf("button %s %d %d\n", b.label.c_str(), b.rect.x + b.rect.w / 2,
                    b.rect.y + b.rect.h / 2);
    }
    std::printf("showing\n");
    std::fflush(stdout);
    g_inBox = true;
    const int answer = MessageBoxA(owned ? window : nullptr, text, caption, type);
    g_inBox = false;
    // Input kept back while the box showed would come now.
    for (int i = 0; i < 30 && Pump(); ++i) SDL_Delay(10);
    std::printf("answer %d\n", answer);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !sdl::InstallSdlPlatform()) return 2;
    const std::string mode = argv[1];
    if (mode == "mouse") return Mouse(argc > 2 ? argv[2] : "raw");
    if (mode == "keys") return Keys();
    if (mode == "box" && argc == 6) {
        return Box(std::strcmp(argv[2], "owner") == 0,
                   static_cast<UINT>(std::strtoul(argv[3], nullptr, 0)), argv[4], argv[5]);
    }
    return 2;
}
