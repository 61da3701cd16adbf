#include "platform/record/program_run.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace record {
namespace {

bool WriteAll(int fd, const std::string& data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

LPARAM KeyLParam(bool up) {
    // Repeat count 1; key-ups carry the previous-state and transition bits.
    return 1 | (up ? (KF_REPEAT_BIT | KF_UP_BIT) : 0);
}

}  // namespace

int g_resultFd = -1;

Script& Script::Message(std::uint64_t iteration, UINT message, WPARAM wParam, LPARAM lParam) {
    platform::ScriptEvent e;
    e.iteration = iteration;
    e.message = message;
    e.wParam = wParam;
    e.lParam = lParam;
    events.push_back(e);
    return *this;
}

Script& Script::KeyDown(std::uint64_t iteration, WPARAM key) {
    return Message(iteration, WM_KEYDOWN, key, KeyLParam(false));
}

Script& Script::KeyUp(std::uint64_t iteration, WPARAM key) {
    return Message(iteration, WM_KEYUP, key, KeyLParam(true));
}

Script& Script::Tap(std::uint64_t iteration, WPARAM key) {
    return KeyDown(iteration, key).KeyUp(iteration, key);
}

Script& Script::MouseMotion(std::uint64_t iteration, LONG dx, LONG dy, LONG dz) {
    platform::ScriptEvent e;
    e.iteration = iteration;
    e.kind = platform::ScriptEvent::Kind::MouseMotion;
    e.dx = dx;
    e.dy = dy;
    e.dz = dz;
    events.push_back(e);
    return *this;
}

Script& Script::Close(std::uint64_t iteration) {
    return Message(iteration, WM_CLOSE);
}

void FinishRun(RunStatus status, int exitCode) {
    std::string out = std::to_string(static_cast<int>(status)) + " " + std::to_string(exitCode) +
                      "\n" + Serialize(Log().Calls());
    WriteAll(g_resultFd, out);
    close(g_resultFd);
    std::fflush(nullptr);
    _exit(0);
}

}  // namespace record
