// The program's window: its class, its placement so that the client area is 1000 x 500, and the
// window procedure that feeds the key table.
#include "program/presentation.h"
#include "shell/shell.h"

namespace {
constexpr int kWindowX = 300;
constexpr int kWindowY = 200;
constexpr DWORD kExStyle = WS_EX_APPWINDOW | WS_EX_WINDOWEDGE;
constexpr char kClassName[] = "Direct3D";
constexpr char kTitle[] = "Tessaline Direct3D tester (XMesh)";
}  // namespace

void CreateAppWindow() {
    appInstance = GetModuleHandleA(nullptr);

    WNDCLASSA windowClass{};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = appInstance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_WINLOGO);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);

    RECT rect{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&rect, WS_OVERLAPPEDWINDOW, FALSE, kExStyle);

    appWindow = CreateWindowExA(kExStyle, kClassName, kTitle,
                                WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, kWindowX,
                                kWindowY, rect.right - rect.left, rect.bottom - rect.top, nullptr,
                                nullptr, appInstance, nullptr);
    ShowWindow(appWindow, SW_SHOW);
    SetForegroundWindow(appWindow);
    SetFocus(appWindow);
}

LRESULT WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
        case WM_ACTIVATE:
        case WM_ENTERSIZEMOVE:
        case WM_EXITSIZEMOVE:
            return 0;
        case WM_CLOSE:
            // The window stays; the loop ends on WM_QUIT.
            PostQuitMessage(0);
            return 0;
        case WM_KEYDOWN:
        case WM_KEYUP:
            // Codes outside the table's 256 entries are ignored.
            if (wParam < 256) keyTable.down[wParam] = message == WM_KEYDOWN;
            return 0;
        case WM_SYSCOMMAND:
            // Refusing these keeps the screen saver and monitor power-down away.
            if (wParam == SC_SCREENSAVE || wParam == SC_MONITORPOWER) return 0;
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
