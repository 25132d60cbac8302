// Runs a shell command line and keeps its standard output and exit status.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct ProgramRun {
    int status = -1; // the exit status, -1 when it did not exit normally or did not start
    std::string out;
};

inline ProgramRun RunProgram(const std::string& command) {
    ProgramRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}
