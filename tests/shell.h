// Runs a command line from a test through /bin/sh: its standard output and
// its exit status.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct ShellRun {
    int status = -1;  // the exit status; -1 when it did not start or did not exit
    std::string out;  // standard output
};

inline ShellRun RunShell(const std::string& command) {
    ShellRun run;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return run;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) run.out.append(buf, n);
    const int st = ::pclose(p);
    run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return run;
}

inline std::string Shell(const std::string& command) {
    return RunShell(command).out;
}
