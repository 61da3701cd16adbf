// The application shell on the recording platform: the start-up order and values, the window
// procedure's table, the key table's semantics, the order within an idle iteration, the wait
// of a loop without a device, and the exit code.
#include <gtest/gtest.h>

#include "platform/core/window_system.h"
#include "platform/record/program_run.h"
#include "shell/shell.h"
#include "tests/test_assets.h"
#include "tests/test_files.h"
#include "tests/test_support.h"

namespace {

using platform::Verbatim;
using record::ProgramRun;
using record::Script;
using test::Args;
using test::CallText;
using test::Fmt;

// Everything the program itself called, without the window procedure's own traffic.
std::vector<std::string> ProgramCalls(const ProgramRun& run) {
    std::vector<std::string> out;
    for (const record::Call& c : run.calls) {
        if (c.api == "WindowProc" || c.api == "DefWindowProcA") continue;
        out.push_back(c.Text());
    }
    return out;
}

TEST(Shell, StartUpCreatesTheWindowWithItsValuesThenEntersTheLoop) {
    const ProgramRun run = record::RunProgram(Script{}.Close(0));
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    const std::vector<std::string> calls = ProgramCalls(run);
    const std::vector<std::string> expected = {
        CallText("GetModuleHandleA", Args(nullptr), "module"),
        CallText("LoadIconA", Args(Verbatim{"NULL"}, 32517), "icon"),
        CallText("LoadCursorA", Args(Verbatim{"NULL"}, 32512), "cursor"),
        CallText("RegisterClassA",
                 Args(0x23, Verbatim{"proc"}, 0, 0, Verbatim{"module"}, Verbatim{"icon"},
                      Verbatim{"cursor"}, Verbatim{"NULL"}, nullptr, "Direct3D"),
                 Fmt(0xC000)),
        CallText("AdjustWindowRectEx", Args(0, 0, 1000, 500, 0x00CF0000, 0, 0x00040100),
                 "-8 -31 1008 508"),
        CallText(
            "CreateWindowExA",
            Args(0x00040100, "Direct3D", "Tessaline Direct3D tester (XMesh)", 0x06CF0000, 300, 200,
                 1016, 539, nullptr, Verbatim{"NULL"}, Verbatim{"module"}, Verbatim{"NULL"}),
            "hwnd#1"),
        CallText("ShowWindow", Args(Verbatim{"hwnd#1"}, SW_SHOW), "0"),
        CallText("SetForegroundWindow", Args(Verbatim{"hwnd#1"}), "1"),
        CallText("SetFocus", Args(Verbatim{"hwnd#1"}), "NULL"),
    };
    ASSERT_GE(calls.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + expected.size()), expected);
    // Window, then graphics, then mouse, then the loop.
    const int window = test::IndexOf(run.calls, "CreateWindowExA");
    const int graphics = test::IndexOf(run.calls, "Direct3DCreate9");
    const int mouse = test::IndexOf(run.calls, "DirectInput8Create");
    const int loop = test::IndexOf(run.calls, "PeekMessageA");
    EXPECT_LT(window, graphics);
    EXPECT_LT(graphics, mouse);
    EXPECT_LT(mouse, loop);
    EXPECT_EQ(record::Only(run.calls, {"PeekMessageA"}).size(), 2u);  // the close, then WM_QUIT
}

TEST(Shell, ClosingTheWindowEndsWinMainWithExitCodeZero) {
    const ProgramRun byMessage = record::RunProgram(Script{}.Close(3));
    EXPECT_EQ(byMessage.status, record::RunStatus::Returned);
    EXPECT_EQ(byMessage.exitCode, 0);

    // The close box and Alt+F4 arrive as Win32 sends them and end the same way.
    const ProgramRun byCloseBox = record::RunProgram(Script{}.Message(2, WM_SYSCOMMAND, SC_CLOSE));
    EXPECT_EQ(byCloseBox.status, record::RunStatus::Returned);
    EXPECT_EQ(byCloseBox.exitCode, 0);
    const ProgramRun byAltF4 =
        record::RunProgram(Script{}.Message(2, WM_SYSKEYDOWN, VK_F4, 1 | KF_ALTDOWN_BIT));
    EXPECT_EQ(byAltF4.status, record::RunStatus::Returned);
    EXPECT_EQ(byAltF4.exitCode, 0);
    EXPECT_EQ(test::TextsOf(byAltF4.calls, {"PostQuitMessage"}),
              std::vector<std::string>{CallText("PostQuitMessage", Args(0))});
}

struct ProcCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    LRESULT result;
    bool defaultHandling;
};

TEST(Shell, WindowProcedureAnswersEachMessageAsItsTableSays) {
    const ProcCase cases[] = {
        {"size", WM_SIZE, 0, 0, false},
        {"activate", WM_ACTIVATE, WA_ACTIVE, 0, false},
        {"enter size-move", WM_ENTERSIZEMOVE, 0, 0, false},
        {"exit size-move", WM_EXITSIZEMOVE, 0, 0, false},
        {"key down", WM_KEYDOWN, 'W', 0, false},
        {"key up", WM_KEYUP, 'W', 0, false},
        {"key above 255", WM_KEYDOWN, 0x1234, 0, false},
        {"screen saver", WM_SYSCOMMAND, SC_SCREENSAVE, 0, false},
        {"monitor power", WM_SYSCOMMAND, SC_MONITORPOWER, 0, false},
        {"screen saver with extra bits", WM_SYSCOMMAND, SC_SCREENSAVE | 2, 0, true},
        {"other system command", WM_SYSCOMMAND, SC_MINIMIZE, 0, true},
        {"non-client create", WM_NCCREATE, 0, TRUE, true},
        {"system key", WM_SYSKEYDOWN, 'M', 0, true},
        {"paint", WM_PAINT, 0, 0, true},
    };
    for (const ProcCase& c : cases) {
        SCOPED_TRACE(c.name);
        record::InstallRecordingPlatform();
        keyTable = {};
        const LRESULT result = WindowProc(nullptr, c.message, c.wParam, 0);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(record::Only(record::Log().Calls(), {"DefWindowProcA"}).size(),
                  c.defaultHandling ? 1u : 0u);
    }
}

TEST(Shell, TheScreenSaverStaysOffWhileTheWindowProcedureRefusesIt) {
    record::InstallRecordingPlatform();
    WNDCLASSA wc{};
    wc.lpfnWndProc = WindowProc;
    wc.lpszClassName = "Program";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "Program", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ShowWindow(window, SW_SHOW);
    platform::QueryScreenSaver();
    EXPECT_FALSE(record::ScreenSaverAllowed());
}

TEST(Shell, WindowProcedureKeepsTheKeyTableAndPostsQuitOnClose) {
    record::InstallRecordingPlatform();
    keyTable = {};
    WindowProc(nullptr, WM_KEYDOWN, 'W', 0);
    EXPECT_TRUE(keyTable.down['W']);
    WindowProc(nullptr, WM_KEYDOWN, 0x157, 0);  // would be 'W' again if taken modulo 256
    WindowProc(nullptr, WM_KEYUP, 'W', 0);
    EXPECT_FALSE(keyTable.down['W']);
    WindowProc(nullptr, WM_KEYUP, 0x157, 0);
    EXPECT_FALSE(keyTable.down['W']);
    WindowProc(nullptr, WM_SYSKEYDOWN, 'S', 0);
    EXPECT_FALSE(keyTable.down['S']);  // system keys are not recorded

    record::Log().Clear();
    EXPECT_EQ(WindowProc(nullptr, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(test::TextsOf(record::Log().Calls(), {"PostQuitMessage", "DefWindowProcA"}),
              std::vector<std::string>{CallText("PostQuitMessage", Args(0))});
}

// ShowCursor calls of a run: the follow-up of the mouse-look toggle.
std::vector<std::string> CursorCalls(const ProgramRun& run) {
    return test::TextsOf(run.calls, {"ShowCursor"});
}

TEST(Shell, ToggleKeysActOncePerKeyDownAndMouseLookShowsAndHidesTheCursor) {
    const std::string hide = CallText("ShowCursor", Args(FALSE), "-1");
    const std::string show = CallText("ShowCursor", Args(TRUE), "0");

    // Held: every auto-repeated key-down flips the setting again at the next iteration.
    const ProgramRun held = record::RunProgram(
        Script{}.KeyDown(1, 'M').KeyDown(2, 'M').KeyDown(3, 'M').KeyUp(5, 'M').Close(7));
    EXPECT_EQ(CursorCalls(held), (std::vector<std::string>{hide, show, hide}));

    // Pressed and released within one drain: the entry is clear again, nothing toggles.
    const ProgramRun tapped = record::RunProgram(Script{}.Tap(1, 'M').Close(3));
    EXPECT_TRUE(CursorCalls(tapped).empty());

    // Pressed in one drain and released in a later one: one toggle.
    const ProgramRun pressed = record::RunProgram(Script{}.KeyDown(1, 'M').KeyUp(2, 'M').Close(3));
    EXPECT_EQ(CursorCalls(pressed), std::vector<std::string>{hide});

    // With Alt, the key arrives as a system key and is not recorded.
    const ProgramRun withAlt =
        record::RunProgram(Script{}.Message(1, WM_SYSKEYDOWN, 'M', 1 | KF_ALTDOWN_BIT).Close(3));
    EXPECT_TRUE(CursorCalls(withAlt).empty());
}

TEST(Shell, TheCursorChangesInTheIterationThatAppliesTheToggle) {
    const ProgramRun run = record::RunProgram(Script{}.KeyDown(2, 'M').Close(4));
    // The toggle is applied after the frame of iteration 2: two idle PeekMessageA calls before.
    int idleBefore = 0;
    for (const record::Call& c : run.calls) {
        if (c.api == "ShowCursor") break;
        if (c.api == "PeekMessageA" && c.result == "0") ++idleBefore;
    }
    EXPECT_EQ(idleBefore, 3);
}

// The calls of each idle iteration: what comes after each PeekMessageA that found the queue
// empty, up to the next PeekMessageA.
std::vector<std::vector<record::Call>> Iterations(const ProgramRun& run) {
    std::vector<std::vector<record::Call>> out;
    bool inIteration = false;
    for (const record::Call& c : run.calls) {
        if (c.api == "PeekMessageA") {
            inIteration = c.result == "0";
            if (inIteration) out.emplace_back();
            continue;
        }
        if (inIteration) out.back().push_back(c);
    }
    return out;
}

TEST(Shell, EachIterationPollsTheMouseBeforeItRendersTheFrame) {
    const ProgramRun run = record::RunProgram(Script{}.MouseMotion(1, 5, 5).Close(3));
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    const auto iterations = Iterations(run);
    ASSERT_EQ(iterations.size(), 3u);
    for (const auto& calls : iterations) {
        const int poll = test::IndexOf(calls, "GetDeviceState");
        const int frame = test::IndexOf(calls, "Clear");
        ASSERT_GE(poll, 0);
        ASSERT_GE(frame, 0);
        EXPECT_LT(poll, frame);
        EXPECT_LT(test::IndexOf(calls, "Present"), static_cast<int>(calls.size()));
    }
}

TEST(Shell, TogglesThatFireTogetherMakeTheirFollowUpsInTheTableOrder) {
    // All five down in one drain, in the reverse of the table's order.
    Script script;
    for (WPARAM key : {WPARAM{'U'}, WPARAM{'R'}, WPARAM{'M'}, VK_RETURN, VK_SPACE}) {
        script.KeyDown(1, key).KeyUp(2, key);
    }
    test::TempDir dir;  // meshes, so that R's rotation shows in slot 0's world transform
    test::WriteTestAssets(dir.path());
    script.workDir = dir.path();
    const ProgramRun run = record::RunProgram(script.Close(3));
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    const auto iterations = Iterations(run);
    ASSERT_EQ(iterations.size(), 3u);
    // After iteration 1's frame: RETURN's fill mode, then M's cursor; SPACE, R and U have none.
    const std::vector<record::Call>& calls = iterations[1];
    std::vector<record::Call> followUps;
    for (std::size_t i = static_cast<std::size_t>(test::IndexOf(calls, "Present"));
         i < calls.size(); ++i) {
        if (calls[i].api == "SetRenderState" || calls[i].api == "ShowCursor")
            followUps.push_back(calls[i]);
    }
    ASSERT_EQ(followUps.size(), 2u);
    EXPECT_EQ(followUps[0].api, "SetRenderState");
    EXPECT_EQ(followUps[0].args[0], Fmt(D3DRS_FILLMODE));
    EXPECT_EQ(followUps[0].args[1], Fmt(D3DFILL_WIREFRAME));
    EXPECT_EQ(followUps[1].Text(), CallText("ShowCursor", Args(FALSE), "-1"));
    // The other three toggled too, as iteration 2's frame shows. SPACE: no overlay.
    EXPECT_EQ(test::IndexOf(iterations[2], "DrawTextA"), -1);
    EXPECT_GE(test::IndexOf(iterations[0], "DrawTextA"), 0);
    // R: slot 0, drawn first, turned from yaw 0 to 180 - 0.9 degrees: its world's first entry,
    // cos yaw, goes from 1 to -0.99988.
    const auto firstWorldYawCosine = [](const std::vector<record::Call>& frame) {
        const int world = test::IndexOf(frame, "SetTransform", test::IndexOf(frame, "BeginScene"));
        return world < 0 ? 0.0f : record::Numbers(frame[world].args[1])[0];
    };
    EXPECT_NEAR(firstWorldYawCosine(iterations[0]), 1.0f, 1e-5f);
    EXPECT_NEAR(firstWorldYawCosine(iterations[2]), -0.99988f, 1e-5f);
    // U: the shaders off, the frame unbinds the vertex shader a second time, before the pixel
    // shader.
    EXPECT_EQ(record::Only(iterations[0], {"SetVertexShader"}).size(), 1u);
    EXPECT_EQ(record::Only(iterations[2], {"SetVertexShader"}).size(), 2u);
}

TEST(Shell, WithoutADeviceTheTogglesStillFlip) {
    Script script;
    script.options.failCreateDevice = true;
    const ProgramRun run = record::RunProgram(script.KeyDown(1, 'M').KeyUp(2, 'M').Close(3));
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    EXPECT_EQ(CursorCalls(run),
              std::vector<std::string>{CallText("ShowCursor", Args(FALSE), "-1")});
}

TEST(Shell, WithoutADeviceEachIterationWaitsForAMessage) {
    Script waiting;
    waiting.options.failCreateDevice = true;
    const ProgramRun run = record::RunProgram(waiting.KeyDown(2, 'W').Close(4));
    ASSERT_EQ(run.status, record::RunStatus::Returned) << run.diagnostics;
    EXPECT_EQ(run.exitCode, 0);
    const auto iterations = Iterations(run);
    ASSERT_EQ(iterations.size(), 4u);
    for (const auto& calls : iterations) {
        // The mouse is still polled; the frame reports (once) and then waits.
        EXPECT_EQ(record::Only(calls, {"WaitMessage"}).size(), 1u);
        EXPECT_LT(test::IndexOf(calls, "GetDeviceState"), test::IndexOf(calls, "WaitMessage"));
    }
    EXPECT_LT(test::IndexOf(iterations[0], "MessageBoxA"),
              test::IndexOf(iterations[0], "WaitMessage"));
    // With a device the loop never waits.
    const ProgramRun drawing = record::RunProgram(Script{}.Close(4));
    EXPECT_TRUE(record::Only(drawing.calls, {"WaitMessage"}).empty());
}

}  // namespace
