// Win32 window, message and cursor semantics over a WindowBackend. Implements: window classes,
// AdjustWindowRectEx, CreateWindowExA (with the messages sent during creation), ShowWindow,
// SetForegroundWindow, SetFocus, the message queue (PeekMessageA, WaitMessage, TranslateMessage,
// DispatchMessageA, PostQuitMessage), DefWindowProcA, ShowCursor, MessageBoxA, lstrlenA,
// GetModuleHandleA, LoadIconA and LoadCursorA. Leaves out: child windows, menus, painting,
// window destruction beyond what WM_CLOSE's default handling needs, and message filters other
// than "any window, any message".
#include "platform/core/window_system.h"

#include <strings.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <memory>

#include "platform/core/call_trace.h"

namespace platform {
namespace {

struct WindowRecord {
    WNDPROC proc = nullptr;
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT outer{};
    RECT client{};  // in screen coordinates
    bool visible = false;
    bool destroyed = false;
    void* native = nullptr;
};

struct ClassRecord {
    WNDCLASSA wc;
    std::string name;
};

struct State {
    WindowBackend* backend = nullptr;
    ScriptedMouseSink* mouse = nullptr;
    std::vector<ClassRecord> classes;
    std::vector<std::unique_ptr<WindowRecord>> windows;
    std::deque<MSG> queue;
    bool quitPosted = false;
    int quitCode = 0;
    int cursorCount = 0;
    HWND foreground = nullptr;
    HWND focus = nullptr;
    bool keyDown[256] = {};
    std::vector<ScriptEvent> script;
    std::size_t scriptNext = 0;
    std::uint64_t idle = 0;
    bool screenSaverAllowed = false;
    bool answerBoxes = false;
    std::vector<std::string> answeredBoxes;
};

State& S() {
    static State state;
    return state;
}

// Stock handles: any distinct non-null values do, as nothing dereferences them.
char g_module, g_icons[2], g_cursor;

HWND HandleOf(const WindowRecord* w) {
    return reinterpret_cast<HWND>(const_cast<WindowRecord*>(w));
}

WindowRecord* Find(HWND hwnd) {
    for (auto& w : S().windows) {
        if (HandleOf(w.get()) == hwnd && !w->destroyed) return w.get();
    }
    return nullptr;
}

DWORD NowMs() {
    using namespace std::chrono;
    static const auto start = steady_clock::now();
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

LPARAM MakeLParam(int lo, int hi) {
    return static_cast<LPARAM>((static_cast<DWORD>(hi & 0xFFFF) << 16) | (lo & 0xFFFF));
}

// Frame sizes of a window at 96 DPI with the default theme.
constexpr int kCaption = 23, kMenu = 20, kThickFrame = 8, kFixedFrame = 3, kThinBorder = 1,
              kClientEdge = 2;

// What AdjustWindowRectEx adds to each side of a client rectangle (negative left and top).
RECT FrameOf(DWORD style, bool menu, DWORD exStyle) {
    int f = 0;
    if (style & WS_THICKFRAME)
        f = kThickFrame;
    else if (style & WS_DLGFRAME)
        f = kFixedFrame;
    else if (style & WS_BORDER)
        f = kThinBorder;
    if (exStyle & WS_EX_CLIENTEDGE) f += kClientEdge;
    RECT frame{-f, -f, f, f};
    if ((style & WS_CAPTION) == WS_CAPTION) frame.top -= kCaption;
    if (menu) frame.top -= kMenu;
    return frame;
}

void Activate(HWND hwnd) {
    State& s = S();
    if (s.foreground == hwnd) return;
    s.foreground = hwnd;
    SendToWindow(hwnd, WM_ACTIVATEAPP, TRUE, 0);
    SendToWindow(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendToWindow(hwnd, WM_ACTIVATE, WA_ACTIVE, 0);
}

void DestroyWindowRecord(WindowRecord* w) {
    HWND hwnd = HandleOf(w);
    SendToWindow(hwnd, WM_DESTROY, 0, 0);
    SendToWindow(hwnd, WM_NCDESTROY, 0, 0);
    if (w->native && S().backend) S().backend->ShowNativeWindow(w->native, false);
    w->destroyed = true;
    State& s = S();
    if (s.foreground == hwnd) s.foreground = nullptr;
    if (s.focus == hwnd) s.focus = nullptr;
}

bool DeliverScriptedEvents() {
    State& s = S();
    bool delivered = false;
    while (s.scriptNext < s.script.size() && s.script[s.scriptNext].iteration <= s.idle) {
        const ScriptEvent& e = s.script[s.scriptNext++];
        if (e.kind == ScriptEvent::Kind::MouseMotion) {
            if (s.mouse) s.mouse->AddScriptedMotion(e.dx, e.dy, e.dz);
        } else {
            PostInput(MainWindow(), e.message, e.wParam, e.lParam);
        }
        delivered = true;
    }
    return delivered;
}

char CharOfKey(WPARAM vk, bool shift) {
    if (vk >= 'A' && vk <= 'Z') return static_cast<char>(shift ? vk : vk - 'A' + 'a');
    if (vk >= '0' && vk <= '9' && !shift) return static_cast<char>(vk);
    switch (vk) {
        case VK_SPACE:
            return ' ';
        case VK_RETURN:
            return '\r';
        case VK_ESCAPE:
            return 0x1B;
        case VK_BACK:
            return 0x08;
        case VK_TAB:
            return '\t';
        default:
            return 0;
    }
}

// What TranslateMessage does, without the trace: the character message of a key-down is queued
// to be taken next, ahead of later input. Returns whether one was queued.
bool QueueCharacterOf(const MSG& msg) {
    State& s = S();
    const bool sys = msg.message == WM_SYSKEYDOWN;
    if (msg.message != WM_KEYDOWN && !sys) return false;
    const char c = CharOfKey(msg.wParam, s.keyDown[VK_SHIFT]);
    if (!c) return false;
    s.queue.push_front(MSG{msg.hwnd, sys ? WM_SYSCHAR : WM_CHAR,
                           static_cast<WPARAM>(static_cast<unsigned char>(c)), msg.lParam, msg.time,
                           msg.pt});
    return true;
}

}  // namespace

// ---- Backend side
// --------------------------------------------------------------------------------

void SetWindowBackend(WindowBackend* backend) {
    S().backend = backend;
}
void SetScriptedMouseSink(ScriptedMouseSink* sink) {
    S().mouse = sink;
}

void SetInputScript(std::vector<ScriptEvent> events) {
    std::stable_sort(events.begin(), events.end(), [](const ScriptEvent& a, const ScriptEvent& b) {
        return a.iteration < b.iteration;
    });
    S().script = std::move(events);
    S().scriptNext = 0;
}

std::uint64_t IdleIterations() {
    return S().idle;
}

HINSTANCE ModuleHandle() {
    return reinterpret_cast<HMODULE>(&g_module);
}

HWND MainWindow() {
    for (auto it = S().windows.rbegin(); it != S().windows.rend(); ++it) {
        if (!(*it)->destroyed) return HandleOf(it->get());
    }
    return nullptr;
}

void* NativeOf(HWND window) {
    WindowRecord* w = Find(window);
    return w ? w->native : nullptr;
}

void PostInput(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    State& s = S();
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) s.keyDown[wParam & 0xFF] = true;
    if (message == WM_KEYUP || message == WM_SYSKEYUP) s.keyDown[wParam & 0xFF] = false;
    s.queue.push_back(MSG{window, message, wParam, lParam, NowMs(), {0, 0}});
}

LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* w = Find(window);
    if (!w || !w->proc) return 0;
    TracedCall call("WindowProc", Args(window, message, wParam, lParam));
    return call.Result(w->proc(window, message, wParam, lParam));
}

bool DispatchForModalLoop() {
    State& s = S();
    while (!s.queue.empty()) {
        const MSG msg = s.queue.front();
        s.queue.pop_front();
        QueueCharacterOf(msg);
        SendToWindow(msg.hwnd, msg.message, msg.wParam, msg.lParam);
    }
    return !s.quitPosted;
}

bool QuitPending() {
    return S().quitPosted;
}

void PostQuitFromSystem(int exitCode) {
    S().quitPosted = true;
    S().quitCode = exitCode;
}

void QueryScreenSaver() {
    State& s = S();
    s.screenSaverAllowed = false;
    if (s.foreground)
        SendToWindow(s.foreground, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
    else
        s.screenSaverAllowed = true;
    if (s.backend) s.backend->SetScreenSaverAllowed(s.screenSaverAllowed);
}

void AnswerMessageBoxesWithOk(bool on) {
    S().answerBoxes = on;
}

const std::vector<std::string>& AnsweredMessageBoxes() {
    return S().answeredBoxes;
}

void ResetWindowSystem() {
    WindowBackend* backend = S().backend;
    ScriptedMouseSink* mouse = S().mouse;
    S() = State{};
    S().backend = backend;
    S().mouse = mouse;
}

}  // namespace platform

using namespace platform;

// ---- Module, resources, classes --------------------------------------------------------------

HMODULE GetModuleHandleA(LPCSTR lpModuleName) {
    HMODULE result = lpModuleName ? nullptr : ModuleHandle();
    Trace("GetModuleHandleA", Args(lpModuleName), result ? "module" : "NULL");
    return result;
}

HICON LoadIconA(HINSTANCE hInstance, LPCSTR lpIconName) {
    const auto id = reinterpret_cast<std::uintptr_t>(lpIconName);
    HICON result = nullptr;
    if (!hInstance && id == IDI_APPLICATION_ID) result = reinterpret_cast<HICON>(&g_icons[0]);
    if (!hInstance && id == IDI_WINLOGO_ID) result = reinterpret_cast<HICON>(&g_icons[1]);
    Trace("LoadIconA", Args(Presence(hInstance, "module"), id), result ? "icon" : "NULL");
    return result;
}

HCURSOR LoadCursorA(HINSTANCE hInstance, LPCSTR lpCursorName) {
    const auto id = reinterpret_cast<std::uintptr_t>(lpCursorName);
    HCURSOR result =
        (!hInstance && id == IDC_ARROW_ID) ? reinterpret_cast<HCURSOR>(&g_cursor) : nullptr;
    Trace("LoadCursorA", Args(Presence(hInstance, "module"), id), result ? "cursor" : "NULL");
    return result;
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
    State& s = S();
    ATOM atom = 0;
    if (wc && wc->lpszClassName && wc->lpfnWndProc) {
        const bool exists = std::any_of(s.classes.begin(), s.classes.end(), [&](auto& c) {
            return strcasecmp(c.name.c_str(), wc->lpszClassName) == 0;
        });
        if (!exists) {
            s.classes.push_back({*wc, wc->lpszClassName});
            atom = static_cast<ATOM>(0xC000 + s.classes.size() - 1);
        }
    }
    if (Tracing() && wc) {
        Trace("RegisterClassA",
              Args(wc->style, Presence(reinterpret_cast<const void*>(wc->lpfnWndProc), "proc"),
                   wc->cbClsExtra, wc->cbWndExtra, Presence(wc->hInstance, "module"),
                   Presence(wc->hIcon, "icon"), Presence(wc->hCursor, "cursor"),
                   Presence(wc->hbrBackground, "brush"), wc->lpszMenuName, wc->lpszClassName),
              Fmt(atom));
    }
    return atom;
}

BOOL AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL bMenu, DWORD dwExStyle) {
    if (!lpRect) return FALSE;
    const RECT in = *lpRect;
    const RECT frame = FrameOf(dwStyle, bMenu != FALSE, dwExStyle);
    lpRect->left += frame.left;
    lpRect->top += frame.top;
    lpRect->right += frame.right;
    lpRect->bottom += frame.bottom;
    if (Tracing()) {
        const RECT out = *lpRect;
        Trace("AdjustWindowRectEx",
              Args(in.left, in.top, in.right, in.bottom, dwStyle, bMenu, dwExStyle),
              Fmt(out.left) + " " + Fmt(out.top) + " " + Fmt(out.right) + " " + Fmt(out.bottom));
    }
    return TRUE;
}

// ---- Windows -----------------------------------------------------------------------------------

HWND CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X,
                     int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                     HINSTANCE hInstance, LPVOID lpParam) {
    State& s = S();
    TracedCall call(
        "CreateWindowExA",
        Args(dwExStyle, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight, hWndParent,
             Presence(hMenu, "menu"), Presence(hInstance, "module"), Presence(lpParam, "param")));
    const ClassRecord* cls = nullptr;
    for (const ClassRecord& c : s.classes) {
        if (lpClassName && strcasecmp(c.name.c_str(), lpClassName) == 0) cls = &c;
    }
    if (!cls) return call.Result(HWND{nullptr});

    auto record = std::make_unique<WindowRecord>();
    WindowRecord* w = record.get();
    w->proc = cls->wc.lpfnWndProc;
    w->className = cls->name;
    w->title = lpWindowName ? lpWindowName : "";
    w->style = dwStyle;
    w->exStyle = dwExStyle;
    w->outer = {X, Y, X + nWidth, Y + nHeight};
    // The client area is the outer rectangle less the frame that AdjustWindowRectEx adds.
    const RECT frame = FrameOf(dwStyle, hMenu != nullptr, dwExStyle);
    w->client = {w->outer.left - frame.left, w->outer.top - frame.top, w->outer.right - frame.right,
                 w->outer.bottom - frame.bottom};
    if (w->client.right < w->client.left) w->client.right = w->client.left;
    if (w->client.bottom < w->client.top) w->client.bottom = w->client.top;
    s.windows.push_back(std::move(record));
    HWND hwnd = HandleOf(w);
    RegisterObjectName(hwnd, "hwnd");

    if (s.backend) {
        w->native = s.backend->CreateNativeWindow(
            {w->title, X, Y, w->client.left, w->client.top, w->client.right - w->client.left,
             w->client.bottom - w->client.top, dwStyle, dwExStyle});
        if (!w->native) {
            w->destroyed = true;
            return call.Result(HWND{nullptr});
        }
    }
    SendToWindow(hwnd, WM_GETMINMAXINFO, 0, 0);
    if (!SendToWindow(hwnd, WM_NCCREATE, 0, 0)) {
        w->destroyed = true;
        return call.Result(HWND{nullptr});
    }
    SendToWindow(hwnd, WM_NCCALCSIZE, FALSE, 0);
    if (SendToWindow(hwnd, WM_CREATE, 0, 0) == -1) {
        DestroyWindowRecord(w);
        return call.Result(HWND{nullptr});
    }
    if (dwStyle & WS_VISIBLE) {
        w->style &= ~WS_VISIBLE;
        ShowWindow(hwnd, SW_SHOW);
    }
    return call.Result(hwnd);
}

BOOL ShowWindow(HWND hWnd, int nCmdShow) {
    TracedCall call("ShowWindow", Args(hWnd, nCmdShow));
    WindowRecord* w = Find(hWnd);
    if (!w) return call.Result(FALSE);
    const BOOL wasVisible = w->visible ? TRUE : FALSE;
    const bool show = nCmdShow != SW_HIDE;
    if (show == w->visible) return call.Result(wasVisible);
    SendToWindow(hWnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    SendToWindow(hWnd, WM_WINDOWPOSCHANGING, 0, 0);
    w->visible = show;
    if (show)
        w->style |= WS_VISIBLE;
    else
        w->style &= ~WS_VISIBLE;
    if (w->native && S().backend) S().backend->ShowNativeWindow(w->native, show);
    // Showing a top-level window activates it unless the command says otherwise.
    if (show && nCmdShow != SW_SHOWMINIMIZED && nCmdShow != SW_MINIMIZE) Activate(hWnd);
    SendToWindow(hWnd, WM_WINDOWPOSCHANGED, 0, 0);
    return call.Result(wasVisible);
}

BOOL SetForegroundWindow(HWND hWnd) {
    TracedCall call("SetForegroundWindow", Args(hWnd));
    WindowRecord* w = Find(hWnd);
    if (!w) return call.Result(FALSE);
    if (w->native && S().backend) S().backend->RaiseNativeWindow(w->native);
    Activate(hWnd);
    return call.Result(TRUE);
}

HWND SetFocus(HWND hWnd) {
    TracedCall call("SetFocus", Args(hWnd));
    State& s = S();
    HWND previous = s.focus;
    if (hWnd && !Find(hWnd)) return call.Result(HWND{nullptr});
    if (hWnd != previous) {
        if (previous) SendToWindow(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
        s.focus = hWnd;
        if (hWnd) SendToWindow(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return call.Result(previous);
}

LRESULT DefWindowProcA(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    Trace("DefWindowProcA", Args(hWnd, Msg, wParam, lParam));
    WindowRecord* w = Find(hWnd);
    switch (Msg) {
        case WM_NCCREATE:
        case WM_NCACTIVATE:
            return TRUE;
        case WM_ACTIVATE:
            if ((wParam & 0xFFFF) != WA_INACTIVE) SetFocus(hWnd);
            return 0;
        case WM_WINDOWPOSCHANGED:
            if (w) {
                SendToWindow(
                    hWnd, WM_SIZE, SIZE_RESTORED,
                    MakeLParam(w->client.right - w->client.left, w->client.bottom - w->client.top));
                SendToWindow(hWnd, WM_MOVE, 0, MakeLParam(w->client.left, w->client.top));
            }
            return 0;
        case WM_CLOSE:
            if (w) DestroyWindowRecord(w);
            return 0;
        case WM_SYSKEYDOWN:
            if (wParam == VK_F4 && (lParam & KF_ALTDOWN_BIT)) {
                PostInput(hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
            }
            return 0;
        case WM_SYSCOMMAND:
            switch (wParam & 0xFFF0) {
                case SC_CLOSE:
                    SendToWindow(hWnd, WM_CLOSE, 0, 0);
                    break;
                case SC_SCREENSAVE:
                    S().screenSaverAllowed = true;
                    break;
                default:
                    break;
            }
            return 0;
        default:
            return 0;
    }
}

// ---- Messages ----------------------------------------------------------------------------------

void PostQuitMessage(int nExitCode) {
    Trace("PostQuitMessage", Args(nExitCode));
    S().quitPosted = true;
    S().quitCode = nExitCode;
}

BOOL PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg) {
    State& s = S();
    TracedCall call("PeekMessageA",
                    Args(OutArg(lpMsg), hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg));
    if (!lpMsg) return call.Result(FALSE);
    if (s.backend) s.backend->PumpEvents();
    const auto matches = [&](UINT m) {
        return (wMsgFilterMin == 0 && wMsgFilterMax == 0) ||
               (m >= wMsgFilterMin && m <= wMsgFilterMax);
    };
    for (;;) {
        for (auto it = s.queue.begin(); it != s.queue.end(); ++it) {
            if ((hWnd && it->hwnd != hWnd) || !matches(it->message)) continue;
            *lpMsg = *it;
            if (wRemoveMsg & PM_REMOVE) s.queue.erase(it);
            if (Tracing()) {
                call.Result(Fmt(1) + " " + Fmt(lpMsg->message) + " " + Fmt(lpMsg->wParam) + " " +
                            Fmt(lpMsg->lParam));
            }
            return TRUE;
        }
        // WM_QUIT is taken only once the queue holds nothing else.
        if (s.quitPosted && matches(WM_QUIT)) {
            *lpMsg = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(s.quitCode), 0, NowMs(), {0, 0}};
            if (wRemoveMsg & PM_REMOVE) s.quitPosted = false;
            call.Result(Fmt(1) + " " + Fmt(WM_QUIT) + " " + Fmt(s.quitCode) + " 0");
            return TRUE;
        }
        if (!DeliverScriptedEvents()) break;
    }
    if (s.backend) s.backend->OnIdle(s.idle);
    ++s.idle;
    return call.Result(FALSE);
}

BOOL WaitMessage() {
    TracedCall call("WaitMessage", {});
    State& s = S();
    if (s.backend) {
        s.backend->PumpEvents();
        if (s.queue.empty() && !s.quitPosted) {
            s.backend->WaitForEvents();
            s.backend->PumpEvents();
        }
    }
    return call.Result(TRUE);
}

BOOL TranslateMessage(const MSG* lpMsg) {
    if (!lpMsg) return FALSE;
    Trace("TranslateMessage", Args(lpMsg->message, lpMsg->wParam));
    return QueueCharacterOf(*lpMsg) ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* lpMsg) {
    if (!lpMsg) return 0;
    Trace("DispatchMessageA", Args(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam));
    return SendToWindow(lpMsg->hwnd, lpMsg->message, lpMsg->wParam, lpMsg->lParam);
}

// ---- Cursor, message boxes, strings ----------------------------------------------------------

int ShowCursor(BOOL bShow) {
    State& s = S();
    const bool wasVisible = s.cursorCount >= 0;
    s.cursorCount += bShow ? 1 : -1;
    const bool visible = s.cursorCount >= 0;
    if (visible != wasVisible && s.backend) s.backend->SetCursorVisible(visible);
    Trace("ShowCursor", Args(bShow), Fmt(s.cursorCount));
    return s.cursorCount;
}

int MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType) {
    TracedCall call("MessageBoxA", Args(hWnd, lpText, lpCaption, uType));
    void* owner = NativeOf(hWnd);
    if (S().answerBoxes) {
        const std::string said =
            std::string(lpCaption ? lpCaption : "") + ": " + (lpText ? lpText : "");
        std::fprintf(stderr, "%s\n", said.c_str());
        S().answeredBoxes.push_back(said);
        return call.Result(IDOK);
    }
    if (S().backend) {
        return call.Result(S().backend->ShowMessageBox(owner, lpText, lpCaption, uType));
    }
    std::fprintf(stderr, "%s: %s\n", lpCaption ? lpCaption : "", lpText ? lpText : "");
    return call.Result(IDOK);
}

int lstrlenA(LPCSTR lpString) {
    const int n = lpString ? static_cast<int>(std::strlen(lpString)) : 0;
    Trace("lstrlenA", Args(lpString), Fmt(n));
    return n;
}
