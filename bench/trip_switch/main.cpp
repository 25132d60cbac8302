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
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "fixture_writer.h"
#include "local_time.h"
#include "pane_picture_hold.h"
#include "playback_session.h"
#include "recording_warmup.h"
#include "screen_sampler.h"
#include "video_static.h"

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
    std::vector<int64_t> endNs;  // steady clock at each end
    std::vector<int64_t> frameNs; // steady clock at the next one's first time report
};

// Plays fronts[0..] through every boundary; returns the switch times in ms.
// exposeMs >= 0: that long after each opening of the next one, the panes are repainted once, as an
// expose does (a menu or window passing over them, a resize).
Switches PlayThrough(PlaybackSession& session, const std::vector<fs::path>& fronts, bool prepared,
                     const std::vector<QWidget*>& panes, int exposeMs) {
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
        if (exposeMs >= 0)
            QTimer::singleShot(exposeMs, [panes] {
                for (QWidget* pane : panes)
                    pane->repaint();
            });
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
        switches.endNs.push_back(SteadyNowNs());
        if (prepared) openNext();
    });
    QObject::connect(&session, &PlaybackSession::nextWanted, &context, [&] {
        if (!prepared) openNext();
    });
    QObject::connect(&session, &PlaybackSession::timeReported, &context, [&](qint64 ms, qint64) {
        if (!waitingFirstFrame || ms <= 0) return;
        waitingFirstFrame = false;
        switches.frame.push_back(static_cast<double>(sinceEnd.nsecsElapsed()) / 1e6);
        switches.frameNs.push_back(SteadyNowNs());
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

// The longest dark run of each pane at each boundary, from the end of one recording to half a second
// after the next one's first time report.
struct DarkRuns {
    std::vector<double> front, rear;
    std::vector<double> stillFront; // the longest unchanged picture in the front pane
    std::vector<double> newFront;   // the end to the first new picture in the front pane
};

DarkRuns Analyse(const std::vector<ScreenSample>& samples, const Switches& s, double threshold) {
    DarkRuns runs;
    for (size_t i = 0; i < s.frameNs.size() && i < s.endNs.size(); ++i) {
        const int64_t from = s.endNs[i];
        const int64_t to = s.frameNs[i] + 500'000'000;
        runs.front.push_back(LongestDarkRunMs(samples, 0, threshold, from, to));
        runs.rear.push_back(LongestDarkRunMs(samples, 1, threshold, from, to));
        runs.stillFront.push_back(LongestStillRunMs(samples, 0, from, to));
        const double first = FirstChangeMs(samples, 0, from, to);
        if (first >= 0) runs.newFront.push_back(first);
    }
    return runs;
}

// Appends the run's readings (time in ms, front luma, rear luma) and events (end, first report).
void WriteTrace(const std::string& path, const char* mode, int run, const std::vector<ScreenSample>& samples,
                const Switches& s) {
    std::FILE* f = std::fopen(path.c_str(), "a");
    if (!f) return;
    const int64_t t0 = samples.empty() ? 0 : samples.front().ns;
    std::fprintf(f, "# %s run %d\n", mode, run);
    for (int64_t ns : s.endNs)
        std::fprintf(f, "end %.1f\n", static_cast<double>(ns - t0) / 1e6);
    for (int64_t ns : s.frameNs)
        std::fprintf(f, "report %.1f\n", static_cast<double>(ns - t0) / 1e6);
    for (const ScreenSample& x : samples)
        std::fprintf(f, "%.1f %.1f %.1f\n", static_cast<double>(x.ns - t0) / 1e6, x.lumas.size() > 0 ? x.lumas[0] : -1,
                     x.lumas.size() > 1 ? x.lumas[1] : -1);
    std::fclose(f);
}

double Max(const std::vector<double>& v) {
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "bench_trip_switch needs an X display: run it under xvfb-run\n");
        return 2;
    }
    Options o;
    int periodMs = 10;
    double threshold = 24;
    std::string tracePath; // every reading and event, for a look at what the screen showed
    int exposeMs = -1;     // the panes repainted this long after each switch (-1: never)
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--runs")) o.runs = std::max(1, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--recordings")) o.recordings = std::max(2, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--seconds")) o.seconds = std::max(2, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--period")) periodMs = std::max(2, std::atoi(argv[i + 1]));
        else if (!std::strcmp(argv[i], "--threshold")) threshold = std::atof(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--trace")) tracePath = argv[i + 1];
        else if (!std::strcmp(argv[i], "--expose-after")) exposeMs = std::atoi(argv[i + 1]);
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    QApplication app(argc, argv);
    const fs::path root = fs::temp_directory_path() / "veltrix_bench_trip_switch";
    const std::vector<fs::path> fronts = WriteCard(root, o);

    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint);
    window.move(0, 0);
    window.resize(1280, 400);
    // The viewer's own pane widget, so what shows between two players is what the window shows.
    CVideoStatic front(&window), rear(&window);
    front.setGeometry(0, 0, 640, 360);
    rear.setGeometry(640, 0, 640, 360);
    window.show();
    for (int i = 0; i < 20; ++i) {
        QApplication::processEvents();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    PlaybackSession session;
    session.SetPanes(front.winId(), rear.winId());
    session.SetMuted(true);
    session.SetAutoNext(true);

    // The panes' inner parts on the screen, read by a thread of their own.
    const int inset = 16;
    const QRect frontRect(front.mapToGlobal(QPoint(inset, inset)), QSize(640 - 2 * inset, 360 - 2 * inset));
    const QRect rearRect(rear.mapToGlobal(QPoint(inset, inset)), QSize(640 - 2 * inset, 360 - 2 * inset));
    ScreenSampler sampler({frontRect, rearRect}, std::chrono::milliseconds(periodMs));
    if (!sampler.Start()) {
        std::fprintf(stderr, "bench_trip_switch: cannot open the display for the screen readings\n");
        return 2;
    }

    std::printf("%d recordings of %d s (1280x720, front and rear), %d runs, files evicted before each run; "
                "screen read every %d ms, dark below mean luma %.0f\n",
                o.recordings, o.seconds, o.runs, periodMs, threshold);
    if (exposeMs >= 0) std::printf("the panes repainted %d ms after each switch\n", exposeMs);
    struct Mode {
        const char* name;
        bool prepared;
        bool held;
    };
    for (const Mode& mode : {Mode{"plain", false, false}, Mode{"prepared", true, false}, Mode{"held", true, true}}) {
        const bool prepared = mode.prepared;
        std::vector<double> playing, frame, darkFront, darkRear, stillFront, newFront;
        for (int run = 0; run < o.runs; ++run) {
            sampler.Clear();
            // Connected before the bench's own end handler, as the window makes it before the trips.
            std::unique_ptr<CPanePictureHold> hold;
            if (mode.held) hold = std::make_unique<CPanePictureHold>(session, &front, &rear);
            const Switches s = PlayThrough(session, fronts, prepared, {&front, &rear}, exposeMs);
            const std::vector<ScreenSample> samples = sampler.Samples();
            const DarkRuns dark = Analyse(samples, s, threshold);
            if (!tracePath.empty()) WriteTrace(tracePath, mode.name, run, samples, s);
            playing.insert(playing.end(), s.playing.begin(), s.playing.end());
            frame.insert(frame.end(), s.frame.begin(), s.frame.end());
            darkFront.insert(darkFront.end(), dark.front.begin(), dark.front.end());
            darkRear.insert(darkRear.end(), dark.rear.begin(), dark.rear.end());
            stillFront.insert(stillFront.end(), dark.stillFront.begin(), dark.stillFront.end());
            newFront.insert(newFront.end(), dark.newFront.begin(), dark.newFront.end());
        }
        std::printf("%-9s end to \"playing\": median %.1f ms, max %.1f ms; end to first time report: median %.1f "
                    "ms, max %.1f ms (%zu boundaries)\n",
                    mode.name, Median(playing), Max(playing), Median(frame), Max(frame), frame.size());
        std::printf("%-9s longest dark pane at a boundary: front median %.0f ms, max %.0f ms; rear median %.0f ms, "
                    "max %.0f ms\n",
                    mode.name, Median(darkFront), Max(darkFront), Median(darkRear), Max(darkRear));
        std::printf("%-9s front pane: end to the next one's first picture on the screen: median %.0f ms, max %.0f ms "
                    "(%zu seen); longest unchanged picture: median %.0f ms, max %.0f ms\n",
                    mode.name, Median(newFront), Max(newFront), newFront.size(), Median(stillFront), Max(stillFront));
    }
    // What a hold costs the UI thread: one read of a pane's pixels from the screen.
    QElapsedTimer grab;
    grab.start();
    const bool grabbed = front.HoldPicture();
    std::printf("reading one pane's picture for the hold: %.1f ms%s\n", static_cast<double>(grab.nsecsElapsed()) / 1e6,
                grabbed ? "" : " (failed)");
    front.ReleaseHeldPicture(true);
    sampler.Stop();
    fs::remove_all(root);
    return 0;
}
