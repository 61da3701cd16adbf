// The Win32 semantics the window backends share: frame sizes, the messages sent while a window
// is created and shown, the places a backend is asked to show it at, the queue and WM_QUIT,
// WaitMessage, the modal loop of a backend's own box, Alt+F4, the cursor counter, scripted input
// and the screen saver question.
#include <gtest/gtest.h>

#include "platform/core/window_system.h"
#include "platform/record/record_platform.h"
#include "tests/test_support.h"

namespace {

using test::Fmt;

LRESULT ForwardingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return DefWindowProcA(w, m, wp, lp);
}
LRESULT RefusingProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    return m == WM_NCCREATE ? FALSE : DefWindowProcA(w, m, wp, lp);
}

class WindowSystem : public ::testing::Test {
  protected:
    void SetUp() override { record::InstallRecordingPlatform(); }

    HWND MakeWindow(WNDPROC proc = ForwardingProc, DWORD style = WS_OVERLAPPEDWINDOW) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = proc;
        wc.lpszClassName = "Test";
        RegisterClassA(&wc);
        return CreateWindowExA(0, "Test", "title", style, 10, 20, 216, 139, nullptr, nullptr,
                               nullptr, nullptr);
    }

    // The messages the window procedure received, in order.
    std::vector<UINT> ProcMessages(std::size_t from = 0) {
        std::vector<UINT> out;
        const auto& calls = record::Log().Calls();
        for (std::size_t i = from; i < calls.size(); ++i) {
            if (calls[i].api == "WindowProc") out.push_back(std::stoul(calls[i].args[1]));
        }
        return out;
    }
};

struct FrameCase {
    DWORD style, exStyle;
    BOOL menu;
    RECT expected;
};

TEST_F(WindowSystem, AdjustWindowRectExAddsFrameCaptionMenuAndEdges) {
    const FrameCase cases[] = {
        {WS_OVERLAPPEDWINDOW, WS_EX_APPWINDOW | WS_EX_WINDOWEDGE, FALSE, {-8, -31, 1008, 508}},
        {WS_OVERLAPPEDWINDOW, 0, TRUE, {-8, -51, 1008, 508}},
        {WS_POPUP, 0, FALSE, {0, 0, 1000, 500}},
        {WS_POPUP | WS_BORDER, 0, FALSE, {-1, -1, 1001, 501}},
        {WS_CAPTION | WS_SYSMENU, 0, FALSE, {-3, -26, 1003, 503}},
        {WS_OVERLAPPEDWINDOW, WS_EX_CLIENTEDGE, FALSE, {-10, -33, 1010, 510}},
    };
    for (const FrameCase& c : cases) {
        RECT r{0, 0, 1000, 500};
        EXPECT_TRUE(AdjustWindowRectEx(&r, c.style, c.menu, c.exStyle));
        EXPECT_EQ(FmtValue(r), FmtValue(c.expected)) << c.style << " " << c.exStyle;
    }
}

TEST_F(WindowSystem, CreatingAndShowingSendTheMessagesWin32Sends) {
    HWND w = MakeWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(ProcMessages(),
              (std::vector<UINT>{WM_GETMINMAXINFO, WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE}));
    const std::size_t mark = record::Log().Calls().size();
    EXPECT_EQ(ShowWindow(w, SW_SHOW), FALSE);  // it was hidden
    // Activation's default handling gives the focus; the move completes with WM_SIZE, WM_MOVE.
    EXPECT_EQ(ProcMessages(mark),
              (std::vector<UINT>{WM_SHOWWINDOW, WM_WINDOWPOSCHANGING, WM_ACTIVATEAPP, WM_NCACTIVATE,
                                 WM_ACTIVATE, WM_SETFOCUS, WM_WINDOWPOSCHANGED, WM_SIZE, WM_MOVE}));
    const auto sizes = test::TextsOf(record::Log().Calls(), {"WindowProc"});
    EXPECT_NE(std::find(sizes.begin(), sizes.end(),
                        test::CallText("WindowProc",
                                       test::Args(w, WM_SIZE, 0, (139 - 31 - 8) << 16 | 200), "0")),
              sizes.end());
    EXPECT_EQ(ShowWindow(w, SW_SHOW), TRUE);  // already visible: nothing more is sent
    const std::size_t after = record::Log().Calls().size();
    EXPECT_EQ(SetForegroundWindow(w), TRUE);
    EXPECT_EQ(SetFocus(w), w);
    EXPECT_TRUE(ProcMessages(after).empty());
}

TEST_F(WindowSystem, CreationFailsForUnknownClassesAndRefusedNcCreate) {
    EXPECT_EQ(CreateWindowExA(0, "Nope", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(MakeWindow(RefusingProc), nullptr);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ForwardingProc;
    wc.lpszClassName = "test";  // class names ignore case
    EXPECT_EQ(RegisterClassA(&wc), 0);
}

TEST_F(WindowSystem, QuitComesOnlyAfterThePostedMessagesAndThenTheQueueIsIdle) {
    HWND w = MakeWindow();
    platform::PostInput(w, WM_KEYDOWN, 'A', 1);
    PostQuitMessage(7);
    platform::PostInput(w, WM_KEYUP, 'A', 1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYDOWN);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_KEYUP);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_EQ(platform::IdleIterations(), 0u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(platform::IdleIterations(), 1u);
}

TEST_F(WindowSystem, AltF4BecomesScCloseAndThenWmClose) {
    HWND w = MakeWindow();
    MSG msg{};
    platform::PostInput(w, WM_SYSKEYDOWN, VK_F4, 1);  // F4 without Alt: nothing
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    platform::PostInput(w, WM_SYSKEYDOWN, VK_F4, 1 | KF_ALTDOWN_BIT);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    DispatchMessageA(&msg);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_SYSCOMMAND);
    EXPECT_EQ(msg.wParam, SC_CLOSE);
    const std::size_t mark = record::Log().Calls().size();
    DispatchMessageA(&msg);
    // The default handling of WM_CLOSE destroys the window.
    EXPECT_EQ(ProcMessages(mark),
              (std::vector<UINT>{WM_SYSCOMMAND, WM_CLOSE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_EQ(platform::MainWindow(), nullptr);
}

TEST_F(WindowSystem, ShowCursorKeepsTheDisplayCounter) {
    const int expected[] = {-1, -2, -1, 0, 1};
    const BOOL shows[] = {FALSE, FALSE, TRUE, TRUE, TRUE};
    const bool visible[] = {false, false, false, true, true};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ShowCursor(shows[i]), expected[i]);
        EXPECT_EQ(record::CursorVisible(), visible[i]) << i;
    }
}

TEST_F(WindowSystem, ScriptedInputArrivesBeforeItsIdleIteration) {
    HWND w = MakeWindow();
    platform::ScriptEvent e;
    e.message = WM_KEYDOWN;
    e.wParam = 'Q';
    e.iteration = 2;
    platform::ScriptEvent first = e;
    first.iteration = 0;
    first.wParam = 'P';
    platform::SetInputScript({e, first});
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, WPARAM{'P'});
    EXPECT_EQ(msg.hwnd, w);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // iteration 0
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));  // iteration 1
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, WPARAM{'Q'});
    EXPECT_EQ(platform::IdleIterations(), 2u);
}

TEST_F(WindowSystem, TranslateMessageQueuesTheCharacterNext) {
    HWND w = MakeWindow();
    MSG msg{};
    platform::PostInput(w, WM_KEYDOWN, VK_SHIFT, 1);
    platform::PostInput(w, WM_KEYDOWN, 'A', 1);
    platform::PostInput(w, WM_KEYUP, VK_SHIFT, 1);
    platform::PostInput(w, WM_KEYDOWN, 'B', 1);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_FALSE(TranslateMessage(&msg));  // Shift has no character
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_TRUE(TranslateMessage(&msg));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_CHAR);
    // The shift state is the one at posting time, as Win32 keeps it per posted message.
    EXPECT_EQ(msg.wParam, WPARAM{'a'});
}

TEST_F(WindowSystem, TheScreenSaverStartsOnlyWhereTheWindowProcedureLetsIt) {
    HWND w = MakeWindow();
    ShowWindow(w, SW_SHOW);
    platform::QueryScreenSaver();
    EXPECT_TRUE(record::ScreenSaverAllowed());
}

// A backend that shows nothing and notes what it is asked.
class NotingBackend : public platform::WindowBackend {
  public:
    void* CreateNativeWindow(const platform::NativeWindowDesc& d) override {
        desc = d;
        return &token;
    }
    void ShowNativeWindow(void*, bool) override {}
    void RaiseNativeWindow(void*) override {}
    void PumpEvents() override { ++pumps; }
    void WaitForEvents() override { ++waits; }
    int ShowMessageBox(void*, const char*, const char*, UINT) override { return IDOK; }
    void SetCursorVisible(bool) override {}
    void SetScreenSaverAllowed(bool) override {}

    platform::NativeWindowDesc desc{};
    int pumps = 0, waits = 0;
    char token = 0;
};

class WindowSystemWithBackend : public WindowSystem {
  protected:
    void SetUp() override {
        WindowSystem::SetUp();
        platform::SetWindowBackend(&backend_);
    }
    void TearDown() override { record::InstallRecordingPlatform(); }
    NotingBackend backend_;
};

TEST_F(WindowSystemWithBackend, TheBackendIsToldWhereTheFrameAndTheClientAreaGo) {
    RECT r{0, 0, 1000, 500};
    AdjustWindowRectEx(&r, WS_OVERLAPPEDWINDOW, FALSE, 0);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ForwardingProc;
    wc.lpszClassName = "Placed";
    RegisterClassA(&wc);
    CreateWindowExA(0, "Placed", "t", WS_OVERLAPPEDWINDOW, 300, 200, r.right - r.left,
                    r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    const platform::NativeWindowDesc& d = backend_.desc;
    EXPECT_EQ(d.outerX, 300);
    EXPECT_EQ(d.outerY, 200);
    EXPECT_EQ(d.clientX, 308);
    EXPECT_EQ(d.clientY, 231);
    EXPECT_EQ(d.clientWidth, 1000);
    EXPECT_EQ(d.clientHeight, 500);
}

TEST_F(WindowSystemWithBackend, WaitMessageWaitsOnlyWhileTheQueueIsEmpty) {
    HWND w = MakeWindow();
    EXPECT_EQ(WaitMessage(), TRUE);
    EXPECT_EQ(backend_.waits, 1);
    platform::PostInput(w, WM_KEYDOWN, 'A', 1);
    WaitMessage();
    EXPECT_EQ(backend_.waits, 1);  // a message is there: no wait
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
    PostQuitMessage(0);
    WaitMessage();
    EXPECT_EQ(backend_.waits, 1);  // WM_QUIT is due: no wait
    EXPECT_GE(backend_.pumps, 3);
    EXPECT_EQ(test::TextsOf(record::Log().Calls(), {"WaitMessage"}).back(),
              test::CallText("WaitMessage", {}, "1"));
}

TEST_F(WindowSystem, TheModalLoopDispatchesWhatIsQueuedAndStopsAtQuit) {
    HWND w = MakeWindow();
    platform::PostInput(w, WM_KEYDOWN, 'M', 1);
    const std::size_t mark = record::Log().Calls().size();
    EXPECT_TRUE(platform::DispatchForModalLoop());
    // The key and its character, as the modal loop translates and dispatches them.
    EXPECT_EQ(ProcMessages(mark), (std::vector<UINT>{WM_KEYDOWN, WM_CHAR}));
    EXPECT_TRUE(test::TextsOf(record::Log().Calls(), {"TranslateMessage", "DispatchMessageA"})
                    .empty());  // the program called neither
    PostQuitMessage(3);
    platform::PostInput(w, WM_KEYUP, 'M', 1);
    EXPECT_FALSE(platform::DispatchForModalLoop());
    // WM_QUIT stays posted for the program's own loop.
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowSystem, TheSystemCanEndTheLoopWithoutAWindow) {
    platform::PostQuitFromSystem(0);
    EXPECT_TRUE(platform::QuitPending());
    MSG msg{};
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_FALSE(platform::QuitPending());
    EXPECT_TRUE(test::TextsOf(record::Log().Calls(), {"PostQuitMessage"}).empty());
}

TEST_F(WindowSystem, MessageBoxesAreLoggedWithOwnerTextCaptionAndStyle) {
    HWND w = MakeWindow();
    EXPECT_EQ(MessageBoxA(w, "text", "caption", MB_ICONWARNING), IDOK);
    EXPECT_EQ(
        record::Log().Calls().back().Text(),
        test::CallText("MessageBoxA", test::Args(w, "text", "caption", MB_ICONWARNING), Fmt(IDOK)));
    EXPECT_EQ(lstrlenA(nullptr), 0);
    EXPECT_EQ(lstrlenA("Tiger.x"), 7);
}

}  // namespace
