// Runs a piece of a test in a forked child, so that it can take process
// limits (file size) or be measured (peak memory) without touching the test
// program itself. The child answers one number through a pipe.
#pragma once

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>

namespace hardening {

// A number from /proc/self/status ("VmRSS", "VmHWM") in KiB; -1 if absent.
inline long ProcStatusKiB(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(key) + ":";
    while (std::getline(in, line))
        if (line.compare(0, prefix.size(), prefix) == 0) return std::atol(line.c_str() + prefix.size());
    return -1;
}

// Forgets the peak resident size so far (Linux: clear_refs 5).
inline bool ResetPeakMemory() {
    std::FILE* f = std::fopen("/proc/self/clear_refs", "w");
    if (!f) return false;
    const bool ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}

struct ChildOutcome {
    bool exited = false;  // ended normally (not by a signal)
    int status = -1;      // exit status
    long answer = -1;     // the number the child wrote, -1 without one
};

// Runs `work` in a forked child; its return value is the child's answer.
inline ChildOutcome RunInChild(const std::function<long()>& work) {
    ChildOutcome out;
    int fds[2];
    if (::pipe(fds) != 0) return out;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) return out;
    if (pid == 0) {
        ::close(fds[0]);
        const long answer = work();
        const ssize_t w = ::write(fds[1], &answer, sizeof answer);
        ::_exit(w == static_cast<ssize_t>(sizeof answer) ? 0 : 3);
    }
    ::close(fds[1]);
    long answer = -1;
    if (::read(fds[0], &answer, sizeof answer) == static_cast<ssize_t>(sizeof answer)) out.answer = answer;
    ::close(fds[0]);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    out.exited = WIFEXITED(wstatus);
    out.status = out.exited ? WEXITSTATUS(wstatus) : -1;
    return out;
}

// Peak growth of the resident size in KiB while `work` runs, measured in a
// child; -1 when it cannot be measured here, -2 when `work` answers false.
inline long PeakGrowthKiB(const std::function<bool()>& work) {
    return RunInChild([&]() -> long {
               const bool reset = ResetPeakMemory();
               const long before = ProcStatusKiB("VmRSS");
               if (!work()) return -2;
               if (!reset) return -1;
               const long peak = ProcStatusKiB("VmHWM");
               return before < 0 || peak < 0 ? -1 : peak - before;
           })
        .answer;
}

// Limits the size of every file the calling process writes, and makes an
// overlong write fail with EFBIG instead of killing the process.
inline bool LimitFileSize(rlim_t bytes) {
    ::signal(SIGXFSZ, SIG_IGN);
    struct rlimit lim {
        bytes, bytes
    };
    return ::setrlimit(RLIMIT_FSIZE, &lim) == 0;
}

}  // namespace hardening
