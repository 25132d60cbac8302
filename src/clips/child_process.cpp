#include "child_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;

namespace {
constexpr size_t kKeptErrorBytes = 4096;

struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        posix_spawn_file_actions_destroy(&actions);
        posix_spawnattr_destroy(&attributes);
    }
};

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}
} // namespace

ChildProcess::~ChildProcess() {
    if (m_pid > 0) {
        Kill();
        Wait();
    }
    CloseOutputs();
}

bool ChildProcess::Start(const std::string& program, const std::vector<std::string>& args, std::string& error) {
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        return false;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        error = std::string("cannot make a pipe: ") + std::strerror(errno);
        ::close(out[0]);
        ::close(out[1]);
        return false;
    }
    SpawnSetup setup;
    posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&setup.actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&setup.actions, err[1], 2);
    posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
    posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&setup.attributes, &none);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    const int result = ::posix_spawnp(&m_pid, program.c_str(), &setup.actions, &setup.attributes, argv.data(), environ);
    ::close(out[1]);
    ::close(err[1]);
    if (result != 0) {
        m_pid = -1;
        ::close(out[0]);
        ::close(err[0]);
        error = program + " cannot be started: " + std::strerror(result);
        return false;
    }
    m_nOutFd = out[0];
    m_nErrFd = err[0];
    m_strPending.clear();
    m_strErrors.clear();
    return true;
}

bool ChildProcess::ReadOutput(int& fd, bool isStdout, const std::function<void(std::string_view)>& onLine) {
    char buffer[4096];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    if (n <= 0) {
        CloseFd(fd);
        return false;
    }
    if (!isStdout) {
        m_strErrors.append(buffer, static_cast<size_t>(n));
        if (m_strErrors.size() > kKeptErrorBytes) m_strErrors.erase(0, m_strErrors.size() - kKeptErrorBytes);
        return true;
    }
    m_strPending.append(buffer, static_cast<size_t>(n));
    size_t begin = 0;
    for (size_t end; (end = m_strPending.find('\n', begin)) != std::string::npos; begin = end + 1)
        if (onLine) onLine(std::string_view(m_strPending).substr(begin, end - begin));
    m_strPending.erase(0, begin);
    return true;
}

bool ChildProcess::Pump(int timeoutMs, const std::function<void(std::string_view)>& onLine) {
    pollfd fds[2] = {{m_nOutFd, POLLIN, 0}, {m_nErrFd, POLLIN, 0}};
    if (m_nOutFd < 0 && m_nErrFd < 0) return false;
    const int ready = ::poll(fds, 2, timeoutMs);
    if (ready < 0 && errno != EINTR) {
        CloseOutputs();
        return false;
    }
    if (ready > 0) {
        if (fds[0].revents & (POLLIN | POLLHUP | POLLERR)) ReadOutput(m_nOutFd, true, onLine);
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) ReadOutput(m_nErrFd, false, onLine);
    }
    return m_nOutFd >= 0 || m_nErrFd >= 0;
}

void ChildProcess::Kill() {
    if (m_pid > 0) ::kill(m_pid, SIGKILL);
}

int ChildProcess::Wait() {
    if (m_pid <= 0) return -1;
    int status = 0;
    pid_t done;
    do {
        done = ::waitpid(m_pid, &status, 0);
    } while (done < 0 && errno == EINTR);
    m_pid = -1;
    CloseOutputs();
    if (done < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

void ChildProcess::CloseOutputs() {
    CloseFd(m_nOutFd);
    CloseFd(m_nErrFd);
}
