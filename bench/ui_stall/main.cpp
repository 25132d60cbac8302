// bench_ui_stall [--gb N] [--mbps N] [--runs N] [--ui-thread] [--dir DIR]
// Save as of one group (front + rear, N GB together, sparse files) from a simulated card of
// `mbps` MB/s: the slow card library is preloaded into a child run of this program, which copies
// the group the way the window's save as does (CFileCommandJobs: the work on a worker, the calling
// step waiting in the event loop) and measures the user-interface thread's answer as the longest
// gap between ticks of a 10 ms timer on it (what a window manager's ping would wait at most).
// --ui-thread copies on the UI thread instead (as the viewer did before), for comparison.
// Prints per run the copy time and the longest gap, then the medians.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "file_command_jobs.h"
#include "safe_copy.h"

extern char** environ;
namespace fs = std::filesystem;

namespace {

struct Options {
    double gb = 4;
    int mbps = 30;
    int runs = 3;
    bool uiThread = false;
    fs::path dir = fs::temp_directory_path() / "veltrix_bench_ui_stall";
};

bool Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--gb" && hasValue)
            o.gb = std::atof(argv[++i]);
        else if (a == "--mbps" && hasValue)
            o.mbps = std::atoi(argv[++i]);
        else if (a == "--runs" && hasValue)
            o.runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--dir" && hasValue)
            o.dir = argv[++i];
        else if (a == "--ui-thread")
            o.uiThread = true;
        else {
            std::fprintf(stderr, "usage: bench_ui_stall [--gb N] [--mbps N] [--runs N] [--ui-thread] [--dir DIR]\n");
            return false;
        }
    }
    return o.gb > 0 && o.mbps > 0;
}

std::vector<CopyItem> Group(const Options& o) {
    const fs::path card = o.dir / "card", out = o.dir / "out";
    return {{card / "Movie/2024_05_17_080000_01.MP4", out / "Movie/2024_05_17_080000_01.MP4"},
            {card / "Movi_be/2024_05_17_080000_01_b.MP4", out / "Movi_be/2024_05_17_080000_01_b.MP4"}};
}

// One copy inside the child; prints "seconds longest_ms".
int ChildRun(int argc, char** argv, const Options& o) {
    QApplication app(argc, argv);
    QWidget window;
    const std::vector<CopyItem> items = Group(o);
    QElapsedTimer clock;
    qint64 last = 0, longest = 0;
    QTimer ping;
    QObject::connect(&ping, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last);
        last = now;
    });
    size_t done = 0;
    QTimer::singleShot(0, [&] {
        clock.start();
        ping.start(10);
        if (o.uiThread) {
            for (const CopyItem& item : items) {
                fs::create_directories(item.target.parent_path());
                done += CopyFileViaTemporary(item.source, item.target) ? 1 : 0;
            }
        } else {
            CFileCommandJobs jobs(&window, [](const UserMessage& m) {
                std::fprintf(stderr, "box: %s\n", m.m_strText.c_str());
                return true;
            });
            CopyPlan plan;
            plan.report.m_bRan = true;
            plan.items = items;
            done = jobs.Copy(std::move(plan)).Count(FileOperationOutcome::kDone);
        }
        const qint64 now = clock.elapsed();
        longest = std::max(longest, now - last); // the gap up to the end counts too
        ping.stop();
        std::printf("%.2f %lld %zu\n", now / 1000.0, static_cast<long long>(longest), done);
        app.quit();
    });
    app.exec();
    return done == items.size() ? 0 : 1;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!Parse(argc, argv, o)) return 2;
    if (std::getenv("VELTRIX_UI_STALL_CHILD")) return ChildRun(argc, argv, o);

    // The group as sparse files: reading them costs the card's time only.
    const std::vector<CopyItem> items = Group(o);
    const auto half = static_cast<uintmax_t>(o.gb * (1ull << 30) / 2);
    for (const CopyItem& item : items) {
        fs::create_directories(item.source.parent_path());
        if (!fs::exists(item.source) || fs::file_size(item.source) != half) {
            FILE* f = std::fopen(item.source.c_str(), "wb");
            if (!f) return 1;
            std::fclose(f);
            fs::resize_file(item.source, half);
        }
    }
    std::printf("save as of %.2f GB (2 files) from a %d MB/s card, work %s, %d runs\n", o.gb, o.mbps,
                o.uiThread ? "on the UI thread" : "on the file job runner", o.runs);
    std::vector<double> seconds, longest;
    for (int run = 0; run < o.runs; ++run) {
        fs::remove_all(o.dir / "out");
        std::vector<std::string> env;
        for (char** e = environ; *e; ++e)
            env.push_back(*e);
        env.push_back(std::string("LD_PRELOAD=") + VELTRIX_SLOW_CARD_LIBRARY);
        env.push_back("VELTRIX_SLOW_CARD_DIR=" + (o.dir / "card").string());
        env.push_back("VELTRIX_SLOW_CARD_MBPS=" + std::to_string(o.mbps));
        env.push_back("VELTRIX_UI_STALL_CHILD=1");
        if (!std::getenv("QT_QPA_PLATFORM")) env.push_back("QT_QPA_PLATFORM=offscreen");
        std::vector<char*> envp;
        for (auto& e : env)
            envp.push_back(e.data());
        envp.push_back(nullptr);
        int fds[2];
        if (::pipe(fds) != 0) return 1;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        pid_t pid = 0;
        if (posix_spawn(&pid, "/proc/self/exe", &actions, nullptr, argv, envp.data()) != 0) return 1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        std::string out;
        char buffer[256];
        ssize_t n;
        while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
            out.append(buffer, static_cast<size_t>(n));
        ::close(fds[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        double s = 0;
        long long gap = 0;
        size_t done = 0;
        if (std::sscanf(out.c_str(), "%lf %lld %zu", &s, &gap, &done) != 3 || !WIFEXITED(status) ||
            WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", run + 1, out.c_str());
            return 1;
        }
        std::printf("run %d: copy %.1f s (%.1f MB/s), longest UI stall %lld ms\n", run + 1, s,
                    o.gb * 1024 / s * (1 << 20) / 1e6, gap);
        std::fflush(stdout);
        seconds.push_back(s);
        longest.push_back(static_cast<double>(gap));
    }
    fs::remove_all(o.dir / "out");
    std::printf("median: copy %.1f s, longest UI stall %.0f ms\n", Median(seconds), Median(longest));
    return 0;
}
