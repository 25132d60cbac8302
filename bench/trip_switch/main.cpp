// Boundary switch of a trip: a card of back-to-back front/rear recordings, played by the viewer's
// PlaybackSession into two native panes. For each boundary, the time from the end of one recording
// (the session's `ended`) to the first time report of the next (its first shown frame), with every
// file evicted from the page cache before the first one opens:
//   plain:    the usual auto-next (the session asks for the next one kEndToNextMs after the end);
//   prepared: the next recording's files read ahead while the current one plays
//             (WarmRecordingFiles on a worker thread) and the next one opened at the end itself.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "fixture_writer.h"
#include "local_time.h"
#include "playback_session.h"
#include "recording_warmup.h"

namespace fs = std::filesystem;

namespace {

struct Options {
    int runs = 3;
    int recordings = 4;
    int seconds = 4;
};

void Evict(const fs::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return;
    ::fdatasync(fd);
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    ::close(fd);
}

std::vector<fs::path> WriteCard(const fs::path& root, const Options& o) {
    fs::remove_all(root);
    fs::create_directories(root / "Movie");
    fs::create_directories(root / "Movi_be");
    fixtures::ClipSpec clip;
    clip.width = 1280;
    clip.height = 720;
    clip.seconds = o.seconds;
    clip.fps = 25;
    const fs::path source = fixtures::MakeClip(clip);
    const int64_t t0 = LocalWallClockToTime(2024, 6, 1, 10, 0, 0);
    std::vector<fs::path> fronts;
    for (int k = 0; k < o.recordings; ++k) {
        const int64_t start = t0 + k * o.seconds;
        fixtures::DriveSpec drive = fixtures::DriveSpecForLayout(kLayoutGpsBox, o.seconds);
        drive.offsetSeconds = k * o.seconds;
        fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
        telemetry.startTime = start;
        const LocalDateTime t = TimeToLocalWallClock(start);
        for (const bool rear : {false, true}) {
            char name[64];
            std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s.MP4", t.year, t.month, t.day,
                          t.hour, t.minute, t.second, k, rear ? "_b" : "");
            const fs::path path = root / (rear ? "Movi_be" : "Movie") / name;
            fixtures::WriteRecording(path, kLayoutGpsBox, telemetry, {}, source);
            if (!rear) fronts.push_back(path);
        }
    }
    return fronts;
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Switches {
    std::vector<double> playing; // end to the players' "playing"
    std::vector<double> frame;   // end to the first time report
};

// Plays fronts[0..] through every boundary; returns the switch times in ms.
Switches PlayThrough(PlaybackSession& session, const std::vector<fs::path>& fronts, bool prepared) {
    for (const fs::path& front : fronts) {
        Evict(front);
        Evict(PlanRecording(front).rear);
    }
    Switches switches;
    bool waitingPlaying = false;
    size_t current = 0;
    QElapsedTimer sinceEnd;
    bool waitingFirstFrame = false;
    std::vector<std::thread> warmers;
    QEventLoop loop;

    auto openNext = [&] {
        if (current + 1 >= fronts.size()) {
            loop.quit();
            return;
        }
        ++current;
        waitingFirstFrame = true;
        waitingPlaying = true;
        session.Open(fronts[current]);
    };
    auto prepare = [&] {
        if (!prepared || current + 1 >= fronts.size()) return;
        const fs::path next = fronts[current + 1];
        warmers.emplace_back([next] { WarmRecordingFiles({next, PlanRecording(next).rear}); });
    };
    QObject context;
    QObject::connect(&session, &PlaybackSession::recordingOpened, &context, [&](bool, bool) { prepare(); });
    QObject::connect(&session, &PlaybackSession::ended, &context, [&] {
        sinceEnd.start();
        if (prepared) openNext();
    });
    QObject::connect(&session, &PlaybackSession::nextWanted, &context, [&] {
        if (!prepared) openNext();
    });
    QObject::connect(&session, &PlaybackSession::timeReported, &context, [&](qint64 ms, qint64) {
        if (!waitingFirstFrame || ms <= 0) return;
        waitingFirstFrame = false;
        switches.frame.push_back(static_cast<double>(sinceEnd.nsecsElapsed()) / 1e6);
    });
    QObject::connect(&session, &PlaybackSession::playingReported, &context, [&](bool playing) {
        if (!waitingPlaying || !playing) return;
        waitingPlaying = false;
        switches.playing.push_back(static_cast<double>(sinceEnd.nsecsElapsed()) / 1e6);
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(static_cast<int>(fronts.size()) * 20000);
    session.Open(fronts[0]);
    loop.exec();
    session.StopEngines();
    for (std::thread& t : warmers)
        t.join();
    return switches;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "bench_trip_switch needs an X display: run it under xvfb-run\n");
        return 2;
    }
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--runs")) o.runs = std::max(1, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--recordings")) o.recordings = std::max(2, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--seconds")) o.seconds = std::max(2, std::atoi(argv[i + 1]));
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    const fs::path root = fs::temp_directory_path() / "veltrix_bench_trip_switch";
    const std::vector<fs::path> fronts = WriteCard(root, o);

    QWidget window;
    window.resize(1280, 400);
    QWidget front(&window), rear(&window);
    front.setGeometry(0, 0, 640, 360);
    rear.setGeometry(640, 0, 640, 360);
    front.setAttribute(Qt::WA_NativeWindow);
    rear.setAttribute(Qt::WA_NativeWindow);
    window.show();
    PlaybackSession session;
    session.SetPanes(front.winId(), rear.winId());
    session.SetMuted(true);
    session.SetAutoNext(true);

    std::printf("%d recordings of %d s (1280x720, front and rear), %d runs, files evicted before each run\n",
                o.recordings, o.seconds, o.runs);
    for (const bool prepared : {false, true}) {
        std::vector<double> playing, frame;
        for (int run = 0; run < o.runs; ++run) {
            const Switches s = PlayThrough(session, fronts, prepared);
            playing.insert(playing.end(), s.playing.begin(), s.playing.end());
            frame.insert(frame.end(), s.frame.begin(), s.frame.end());
        }
        std::printf("%-9s end to \"playing\": median %.1f ms, max %.1f ms; end to first time report: median %.1f "
                    "ms, max %.1f ms (%zu boundaries)\n",
                    prepared ? "prepared" : "plain", Median(playing),
                    playing.empty() ? 0 : *std::max_element(playing.begin(), playing.end()), Median(frame),
                    frame.empty() ? 0 : *std::max_element(frame.begin(), frame.end()), frame.size());
    }
    fs::remove_all(root);
    return 0;
}
