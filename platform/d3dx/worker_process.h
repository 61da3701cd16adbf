// A helper program of ours run as a fresh process, for work that may crash, hang or run away on
// hostile input (the HLSL compiler): started with posix_spawn rather than a fork of the harness,
// so that starting it costs the same however much memory the harness holds, and so that it
// inherits nothing it does not need: an empty environment (but the sanitizers' options), no
// file descriptors but a socket to the harness (its 0) and stderr, default signal handling, and
// a process group of its own (a Ctrl+C at the terminal is the harness's to handle). It dies with
// the harness and takes on the limits of IsolationLimits itself before it reads anything
// (TakeWorkerArguments); the harness stops it at the wall-clock limit.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/d3dx/isolated_process.h"

namespace d3dx {

class WorkerProcess {
  public:
    WorkerProcess() = default;
    ~WorkerProcess();
    WorkerProcess(const WorkerProcess&) = delete;
    WorkerProcess& operator=(const WorkerProcess&) = delete;

    // Starts `program` with `args` after the arguments that carry the limits; its wall clock
    // starts now. False, with the reason, where it cannot be started.
    bool Start(const std::string& program, const std::vector<std::string>& args,
               const IsolationLimits& limits, std::string& error);
    // Restarts the wall clock with `ms` to go: a worker started ahead of its work is not timed
    // while it waits, and one that readies itself is timed from when it is ready.
    void SetDeadline(int ms);
    // True where the worker has ended already (before it was given anything to do).
    bool Ended();
    // True in the process that started it (not in a fork of that process).
    bool Ours() const;
    // Queues bytes for the worker; they are written while Next waits.
    void Send(const std::string& bytes);

    enum class Event { Frame, Ended, TimedOut, BadFrame };
    // Waits for the next whole frame from the worker (compile_protocol.h's framing), for its
    // end, or for the wall-clock limit, whichever comes first.
    Event Next(char& tag, std::string& body);
    // Stops the worker if it runs and reaps it. Empty where it exited with status 0 by itself;
    // else why it failed ("crashed (Segmentation fault)", ...).
    std::string Finish(bool timedOut);
    // Stops and reaps it without asking why: the harness has what it wanted.
    void Stop();

  private:
    pid_t pid_ = -1;
    pid_t owner_ = -1;
    int socket_ = -1;
    bool ended_ = false;
    IsolationLimits limits_;
    std::chrono::steady_clock::time_point deadline_;
    std::string in_, out_;
};

// In the worker's main: reads the arguments WorkerProcess::Start put first, binds the worker to
// the harness with those limits, and returns the arguments that follow. False where they are
// not there (the program was not started by a harness).
bool TakeWorkerArguments(int argc, char** argv, std::vector<std::string>& rest);

// The worker's side of its socket: reads exactly `size` bytes or writes all of them; false at the
// end of the stream or on an error.
bool ReadFromHarness(std::string& buffer, std::size_t size);
bool WriteToHarness(const std::string& bytes);

}  // namespace d3dx
