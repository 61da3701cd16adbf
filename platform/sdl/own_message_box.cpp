// MessageBoxA's box where SDL cannot show one (no core X fonts and no zenity, for example): a
// small SDL window titled with the caption, drawn into its window surface by our font
// rasteriser, with its own modal loop. The loop dispatches the thread's other messages as
// Win32's does, drops input aimed at the owner (disabled while the box shows), and ends when a
// button is pressed, the box is closed, or WM_QUIT comes (which stays posted for the program's
// own loop). Leaves out: icons, and moving the focus away from the box within the program.
#include <cstdio>
#include <optional>

#include "platform/core/window_system.h"
#include "platform/d3dx/font_raster.h"
#include "platform/sdl/message_box_layout.h"
#include "platform/sdl/sdl_platform.h"

namespace sdl {
namespace {

// Win32's box font is 9-point Segoe UI: a 16-pixel cell at 96 DPI.
constexpr int kFontCellHeight = 16;
// The loop looks for events this often. It polls rather than waits: while SDL 2.26 waits on
// X11 it wakes the waiting window through a second connection for every event it queues, and a
// wake-up aimed at this box can reach the server after the box is destroyed, an X error that
// ends the process.
constexpr Uint32 kPollMs = 10;

const d3dx::FontAtlas* BoxFont() {
    static const std::optional<d3dx::FontAtlas> font =
        d3dx::RasteriseFont("Sans", kFontCellHeight, 400, false);
    return font ? &*font : nullptr;
}

class OwnBox {
  public:
    OwnBox(SDL_Window* owner, const char* text, const char* caption, UINT type)
        : owner_(owner),
          type_(type),
          font_(BoxFont()),
          layout_(LayoutMessageBox(font_, text, type)) {
        int x = SDL_WINDOWPOS_CENTERED, y = SDL_WINDOWPOS_CENTERED;
        if (owner_) {
            int ox = 0, oy = 0, ow = 0, oh = 0;
            SDL_GetWindowPosition(owner_, &ox, &oy);
            SDL_GetWindowSize(owner_, &ow, &oh);
            x = ox + (ow - layout_.width) / 2;
            y = oy + (oh - layout_.height) / 2;
        }
        window_ = SDL_CreateWindow(caption ? caption : "", x, y, layout_.width, layout_.height,
                                   SDL_WINDOW_HIDDEN | SDL_WINDOW_SKIP_TASKBAR);
        if (!window_) return;
        if (owner_) SDL_SetWindowModalFor(window_, owner_);
        SDL_ShowWindow(window_);
        SDL_RaiseWindow(window_);
        id_ = SDL_GetWindowID(window_);
        Paint();
    }
    ~OwnBox() {
        if (window_) SDL_DestroyWindow(window_);
        if (owner_) SDL_RaiseWindow(owner_);
    }
    OwnBox(const OwnBox&) = delete;
    OwnBox& operator=(const OwnBox&) = delete;

    bool Shown() const { return window_ != nullptr; }
    bool HasFont() const { return font_ != nullptr; }

    int Run() {
        int answer = 0;
        while (!answer) {
            SDL_Event e;
            bool any = false;
            while (!answer && SDL_PollEvent(&e)) {
                any = true;
                if (EventWindowId(e) == id_ && id_ != 0)
                    answer = Handle(e);
                else
                    TranslateEvent(e, owner_);
            }
            if (!any) SDL_Delay(kPollMs);
            DrainMouse();
            TurnTerminationIntoClose();
            // WM_QUIT ends the box as it ends any modal loop, and stays posted.
            if (!platform::DispatchForModalLoop() && !answer) answer = CloseAnswerOf(type_);
        }
        return answer;
    }

  private:
    int Handle(const SDL_Event& e) {
        switch (e.type) {
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) return CloseAnswerOf(type_);
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED ||
                    e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                    e.window.event == SDL_WINDOWEVENT_SHOWN) {
                    Paint();
                }
                return 0;
            case SDL_KEYDOWN: {
                const BoxKeyOutcome out =
                    BoxKey(layout_, focus_, e.key.keysym.sym, e.key.keysym.mod);
                if (out.focus != focus_) {
                    focus_ = out.focus;
                    Paint();
                }
                return out.answer;
            }
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.button == SDL_BUTTON_LEFT) {
                    pressed_ = ButtonAt(layout_, e.button.x, e.button.y);
                    if (pressed_ >= 0 && pressed_ != focus_) {
                        focus_ = pressed_;
                        Paint();
                    }
                }
                return 0;
            case SDL_MOUSEBUTTONUP:
                // A click is a press and a release on the same button.
                if (e.button.button == SDL_BUTTON_LEFT && pressed_ >= 0 &&
                    ButtonAt(layout_, e.button.x, e.button.y) == pressed_) {
                    return layout_.buttons[static_cast<std::size_t>(pressed_)].answer;
                }
                pressed_ = -1;
                return 0;
            default:
                return 0;
        }
    }

    void Paint() {
        SDL_Surface* target = SDL_GetWindowSurface(window_);
        if (!target) return;
        std::vector<std::uint32_t> pixels = DrawMessageBox(layout_, font_, focus_);
        SDL_Surface* source =
            SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), layout_.width, layout_.height, 32,
                                               layout_.width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (!source) return;
        SDL_BlitSurface(source, nullptr, target, nullptr);
        SDL_FreeSurface(source);
        SDL_UpdateWindowSurface(window_);
    }

    SDL_Window* owner_;
    UINT type_;
    const d3dx::FontAtlas* font_;
    BoxLayout layout_;
    SDL_Window* window_ = nullptr;
    Uint32 id_ = 0;
    int focus_ = 0;
    int pressed_ = -1;
};

}  // namespace

BoxLayout OwnBoxLayout(const char* text, UINT type) {
    return LayoutMessageBox(BoxFont(), text, type);
}

int ShowOwnMessageBox(SDL_Window* owner, const char* text, const char* caption, UINT type) {
    // The box draws without OpenGL, but SDL may make a context of its own current meanwhile: the
    // device's context is made current again afterwards.
    struct KeepGlContext {
        SDL_Window* window = SDL_GL_GetCurrentWindow();
        SDL_GLContext context = SDL_GL_GetCurrentContext();
        ~KeepGlContext() {
            if (context) SDL_GL_MakeCurrent(window, context);
        }
    } keep;
    OwnBox box(owner, text, caption, type);
    // Without a face to draw with, or without a window, the words still reach the user.
    if (!box.Shown() || !box.HasFont()) {
        std::fprintf(stderr, "%s: %s\n", caption ? caption : "", text ? text : "");
    }
    if (!box.Shown()) {
        std::fprintf(stderr, "SDL: cannot open a message box window: %s\n", SDL_GetError());
        return CloseAnswerOf(type);
    }
    return box.Run();
}

}  // namespace sdl
