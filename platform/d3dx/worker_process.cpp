// Helper programs run as fresh processes (see worker_process.h).
#include "platform/d3dx/worker_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

extern char** environ;

namespace d3dx {
namespace {

using Clock = std::chrono::steady_clock;

// Where the frame's length says how long it is: the tag byte, then 32 bits, little-endian.
constexpr std::size_t kHeaderBytes = 5;
constexpr std::size_t kMaxFrameBytes = (std::size_t{64} << 20) + kHeaderBytes;

// What the worker keeps of the harness's environment: the sanitizers' options, so that a
// sanitizer build's worker reports as the harness does.
std::vector<std::string> WorkerEnvironment() {
    std::vector<std::string> kept;
    for (char** e = environ; e && *e; ++e) {
        const std::string entry = *e;
        for (const char* name : {"ASAN_OPTIONS=", "UBSAN_OPTIONS=", "LSAN_OPTIONS="}) {
            if (entry.rfind(name, 0) == 0) kept.push_back(entry);
        }
    }
    return kept;
}

// A worker dies with the harness through PR_SET_PDEATHSIG, which fires when the THREAD that
// started it ends, not the process. Workers are therefore started from one thread that lives as
// long as the process: a compile from a thread that ends (a test compiles on two) must not take
// down the worker another thread is compiling in. The thread and its queue are never destroyed,
// so that nothing waits on them while the process exits. A process forked without exec holds a
// copy of the spawner whose thread does not run there: it makes one of its own, and leaves the
// copy untouched (its lock may have been held by a thread the fork did not copy).
class Spawner {
  public:
    static Spawner& Instance() {
        static std::mutex made;
        static Spawner* spawner = nullptr;
        static pid_t owner = 0;
        const std::lock_guard lock(made);
        if (!spawner || owner != getpid()) {
            spawner = new Spawner;
            owner = getpid();
        }
        return *spawner;
    }
    // Runs `spawn` on the spawning thread and returns what it returned.
    int Run(const std::function<int()>& spawn) {
        std::packaged_task<int()> task(spawn);
        std::future<int> done = task.get_future();
        {
            const std::lock_guard lock(mutex_);
            tasks_.push_back(std::move(task));
        }
        wake_.notify_one();
        return done.get();
    }

  private:
    Spawner() {
        std::thread([this] { Serve(); }).detach();
    }
    void Serve() {
        for (;;) {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return !tasks_.empty(); });
            std::packaged_task<int()> task = std::move(tasks_.front());
            tasks_.pop_front();
            lock.unlock();
            task();
        }
    }
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::packaged_task<int()>> tasks_;
};

std::vector<char*> Pointers(std::vector<std::string>& strings) {
    std::vector<char*> out;
    out.reserve(strings.size() + 1);
    for (std::string& s : strings) out.push_back(s.data());
    out.push_back(nullptr);
    return out;
}

}  // namespace

WorkerProcess::~WorkerProcess() {
    Stop();
}

bool WorkerProcess::Start(const std::string& program, const std::vector<std::string>& args,
                          const IsolationLimits& limits, std::string& error) {
    limits_ = limits;
    owner_ = getpid();
    SetDeadline(limits.wallMs);
    int pair[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0) {
        error = std::string("cannot make its socket: ") + std::strerror(errno);
        return false;
    }
    std::vector<std::string> argv = {program,
                                     "--parent",
                                     std::to_string(getpid()),
                                     "--cpu-seconds",
                                     std::to_string(limits.cpuSeconds),
                                     "--memory-bytes",
                                     std::to_string(limits.memoryBytes)};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<std::string> env = WorkerEnvironment();
    std::vector<char*> argvPointers = Pointers(argv), envPointers = Pointers(env);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, pair[1], 0);
    posix_spawn_file_actions_addopen(&files, 1, "/dev/null", O_WRONLY, 0);
    // Everything from 3 up, whether or not the harness (or a library in it) set close-on-exec.
    posix_spawn_file_actions_addclosefrom_np(&files, 3);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(
        &attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);
    const int failed = Spawner::Instance().Run([&] {
        return posix_spawn(&pid_, program.c_str(), &files, &attributes, argvPointers.data(),
                           envPointers.data());
    });
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    close(pair[1]);
    if (failed != 0) {
        pid_ = -1;
        close(pair[0]);
        error = "cannot start " + program + ": " + std::strerror(failed);
        return false;
    }
    socket_ = pair[0];
    fcntl(socket_, F_SETFL, fcntl(socket_, F_GETFL) | O_NONBLOCK);
    return true;
}

void WorkerProcess::SetDeadline(int ms) {
    deadline_ = Clock::now() + std::chrono::milliseconds(ms);
}

bool WorkerProcess::Ours() const {
    return pid_ > 0 && owner_ == getpid();
}

bool WorkerProcess::Ended() {
    if (!Ours()) return true;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
    pid_ = -1;
    return true;
}

void WorkerProcess::Send(const std::string& bytes) {
    out_ += bytes;
}

WorkerProcess::Event WorkerProcess::Next(char& tag, std::string& body) {
    for (;;) {
        if (in_.size() >= kHeaderBytes) {
            std::size_t length = 0;
            for (int i = 0; i < 4; ++i)
                length |= std::size_t{static_cast<unsigned char>(in_[1 + i])} << (8 * i);
            if (length + kHeaderBytes > kMaxFrameBytes) return Event::BadFrame;
            if (in_.size() >= kHeaderBytes + length) {
                tag = in_[0];
                body.assign(in_, kHeaderBytes, length);
                in_.erase(0, kHeaderBytes + length);
                return Event::Frame;
            }
        }
        if (ended_) return Event::Ended;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
        if (left <= 0) return Event::TimedOut;
        pollfd p{socket_, static_cast<short>(POLLIN | (out_.empty() ? 0 : POLLOUT)), 0};
        const int ready = poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno != EINTR) return Event::Ended;
        if (ready <= 0) continue;
        if ((p.revents & POLLOUT) && !out_.empty()) {
            const ssize_t n = send(socket_, out_.data(), out_.size(), MSG_NOSIGNAL);
            if (n > 0) {
                out_.erase(0, static_cast<std::size_t>(n));
            } else if (errno != EAGAIN && errno != EINTR) {
                out_.clear();  // the worker is gone: its end is read below
            }
        }
        if (p.revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[65536];
            const ssize_t n = recv(socket_, buffer, sizeof buffer, 0);
            if (n > 0) {
                in_.append(buffer, static_cast<std::size_t>(n));
            } else if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
                ended_ = true;
            }
        }
    }
}

std::string WorkerProcess::Finish(bool timedOut) {
    if (socket_ >= 0 && !Ours()) {
        // A fork of the harness holds a copy: the worker is not its child to stop.
        close(socket_);
        socket_ = -1;
    }
    if (!Ours()) return {};
    if (socket_ >= 0) close(socket_);
    socket_ = -1;
    // A worker that closed its socket ends at once; one that does not is given the rest of its
    // wall-clock time, then stopped.
    if (timedOut) kill(pid_, SIGKILL);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid_, &status, timedOut ? 0 : WNOHANG);
        if (done == pid_ || (done < 0 && errno != EINTR)) break;
        if (done == 0 && Clock::now() >= deadline_) {
            kill(pid_, SIGKILL);
            timedOut = true;
            continue;
        }
        if (done == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    pid_ = -1;
    if (!timedOut && WIFEXITED(status) && WEXITSTATUS(status) == 0) return {};
    return ChildFailure(status, timedOut, limits_);
}

void WorkerProcess::Stop() {
    if (!Ours()) {
        Finish(false);
        return;
    }
    kill(pid_, SIGKILL);
    Finish(true);
}

bool TakeWorkerArguments(int argc, char** argv, std::vector<std::string>& rest) {
    if (argc < 7 || std::strcmp(argv[1], "--parent") != 0 ||
        std::strcmp(argv[3], "--cpu-seconds") != 0 || std::strcmp(argv[5], "--memory-bytes") != 0)
        return false;
    char* end = nullptr;
    const long parent = std::strtol(argv[2], &end, 10);
    if (*end || parent <= 1) return false;
    IsolationLimits limits;
    limits.cpuSeconds = std::atoi(argv[4]);
    limits.memoryBytes = static_cast<std::size_t>(std::strtoull(argv[6], nullptr, 10));
    BindToParent(static_cast<pid_t>(parent), limits);
    rest.assign(argv + 7, argv + argc);
    return true;
}

bool ReadFromHarness(std::string& buffer, std::size_t size) {
    std::size_t got = 0;
    const std::size_t start = buffer.size();
    buffer.resize(start + size);
    while (got < size) {
        const ssize_t n = read(0, buffer.data() + start + got, size - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

bool WriteToHarness(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(0, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace d3dx
