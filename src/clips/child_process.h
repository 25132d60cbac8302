// One helper program run by the export (ffmpeg): its standard output read line by line, the end
// of its standard error kept for the message when it fails, and a kill that always works.
// The child gets its own process group, so a Ctrl+C meant for the caller reaches the caller,
// which then decides (a cancelled export kills the child and removes what it wrote).
// Not thread-safe: one thread starts, pumps, kills and waits.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class ChildProcess {
  public:
    ChildProcess() = default;
    // Kills and reaps a child that still runs.
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts `program` (looked up on PATH unless it holds a '/') with `args`, standard input from
    // /dev/null and no other descriptor of ours. False, with `error` in words, when it cannot start.
    bool Start(const std::string& program, const std::vector<std::string>& args, std::string& error);

    // Waits up to `timeoutMs` for output and hands each complete line of standard output to
    // `onLine`. False once the child has closed both outputs (it has ended or is about to).
    bool Pump(int timeoutMs, const std::function<void(std::string_view)>& onLine);

    // Ends the child at once (SIGKILL); Wait still has to reap it.
    void Kill();
    // Waits for the child to end: its exit status, or -1 when a signal ended it.
    int Wait();

    // The last few kilobytes of its standard error.
    const std::string& ErrorOutput() const { return m_strErrors; }

  private:
    void CloseOutputs();
    bool ReadOutput(int& fd, bool isStdout, const std::function<void(std::string_view)>& onLine);

    pid_t m_pid = -1;
    int m_nOutFd = -1;
    int m_nErrFd = -1;
    std::string m_strPending; // standard output after the last newline
    std::string m_strErrors;
};
