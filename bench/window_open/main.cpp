// bench_window_open [--card DIR] [--keep] [--runs N]
//
//   xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/window_open/bench_window_open
//
// The scan benchmark's card (1,000 recordings: 500 front/rear pairs, layouts 0 to 4 in turn,
// sparse files of 50 to 500 MB; the rear files in "Movi_be", where the viewer finds the rear camera
// of a front file, so both panes play) opened in the real main window, with both libVLC engines and
// the map page, as `veltrix CARD` opens it. Prints, for the first open and as the median of warm
// runs: the time from the open to the lists filled and to the first time report (0x0C07) of the
// first recording (the five 100 ms countdown ticks included). Then, while the first recording's
// two videos play with the map shown, the resident memory of the viewer process and of the
// viewer with its web engine processes.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "control_ids.h"
#include "fixture_writer.h"
#include "html_map_dlg.h"
#include "orvex_dlg.h"
#include "orvex_file_list_ctrl.h"
#include "private_message.h"
#include "video_engine.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPairs = 500;

std::string Name(int64_t start, int number, const char* tail) {
    const time_t time = static_cast<time_t>(start);
    std::tm t{};
    localtime_r(&time, &t);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, number % 100, tail);
    return name;
}

void WriteCard(const fs::path& card) {
    const fs::path clip = fixtures::SampleClip();
    fixtures::DriveSpec drive;
    drive.seconds = 3;
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    fs::create_directories(card / "Movie");
    fs::create_directories(card / "Movi_be");
    std::tm first{};
    first.tm_year = 2024 - 1900;
    first.tm_mon = 5;
    first.tm_mday = 1;
    first.tm_hour = 8;
    first.tm_isdst = -1;
    const int64_t start = std::mktime(&first);
    for (int i = 0; i < kPairs; ++i) {
        fixtures::Telemetry t = telemetry;
        t.startTime = start + 180 * i;
        fixtures::WriteOptions options;
        options.sparsePadding = (50ull + (i * 37) % 451) << 20;
        const TelemetryLayout layout = static_cast<TelemetryLayout>(i % 5);
        fixtures::WriteRecording(card / "Movie" / Name(t.startTime, i, ".MP4"), layout, t, options, clip);
        t.startTime += i % 3;
        fixtures::WriteRecording(card / "Movi_be" / Name(t.startTime, i, "_b.MP4"), layout, t, options, clip);
    }
}

// Notes when the first time report reaches the window (before the window handles it).
struct TimeReportWatch : QObject {
    QElapsedTimer* clock = nullptr;
    double firstReportMs = -1;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == static_cast<QEvent::Type>(WM_PLAYER_TIME) && firstReportMs < 0)
            firstReportMs = clock->nsecsElapsed() / 1e6;
        return false;
    }
};

struct Figures {
    double listsMs = -1, firstReportMs = -1;
};

Figures OpenOnce(COrvexDlg& dlg, const fs::path& card) {
    auto* files = dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
    // A new open is taken once the previous one has played (the opening flag is down).
    Figures figures;
    if (!QTest::qWaitFor([&] { return g_bOpening == 0 && !dlg.ScanBusy(); }, 30000)) return figures;
    dlg.StopPlayback();
    QApplication::processEvents();
    QElapsedTimer clock;
    TimeReportWatch watch;
    watch.clock = &clock;
    dlg.installEventFilter(&watch);
    clock.start();
    dlg.OpenFolder(card);
    // The old lists go at the start of the scan; the new ones are filled in one UI step.
    if (QTest::qWaitFor([&] { return files->LineCount() == 2 * kPairs; }, 60000))
        figures.listsMs = clock.nsecsElapsed() / 1e6;
    if (QTest::qWaitFor([&] { return watch.firstReportMs >= 0; }, 30000))
        figures.firstReportMs = watch.firstReportMs;
    dlg.removeEventFilter(&watch);
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// "VmRSS" of a process in kB, 0 when it is gone; "Rss"/"Pss" of its smaps_rollup.
long StatusKb(int pid, const std::string& key, const char* file = "status") {
    std::ifstream in("/proc/" + std::to_string(pid) + "/" + file);
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + ":", 0) == 0) return std::atol(line.c_str() + key.size() + 1);
    return 0;
}

int ParentOf(int pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream rest(text.substr(close + 2));
    char state;
    int parent = 0;
    rest >> state >> parent;
    return parent;
}

// The process and every process below it.
std::vector<int> ProcessTree(int root) {
    std::vector<int> all;
    for (const auto& entry : fs::directory_iterator("/proc")) {
        const std::string name = entry.path().filename();
        if (name.find_first_not_of("0123456789") == std::string::npos) all.push_back(std::stoi(name));
    }
    std::vector<int> tree{root};
    for (bool grew = true; grew;) {
        grew = false;
        for (int pid : all)
            if (std::find(tree.begin(), tree.end(), pid) == tree.end() &&
                std::find(tree.begin(), tree.end(), ParentOf(pid)) != tree.end()) {
                tree.push_back(pid);
                grew = true;
            }
    }
    return tree;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "bench_window_open needs an X display: run it under xvfb-run\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
    setenv("QT_QUICK_BACKEND", "software", 0);
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--disable-gpu --disable-background-networking", 0);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    fs::path card = fs::temp_directory_path() / "veltrix_bench_window_open";
    bool keep = false, given = false;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--card" && i + 1 < argc) {
            card = argv[++i];
            given = true;
        } else if (arg == "--keep")
            keep = true;
        else if (arg == "--runs" && i + 1 < argc)
            runs = std::max(1, std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: bench_window_open [--card DIR] [--keep] [--runs N]\n");
            return 2;
        }
    }
    if (!given || !fs::is_directory(card)) {
        fs::remove_all(card);
        QElapsedTimer writing;
        writing.start();
        WriteCard(card);
        std::printf("card: %d recordings written to %s in %.1f s\n", 2 * kPairs, card.c_str(),
                    writing.elapsed() / 1000.0);
    }

    // The viewer's settings file lives in its working folder: a fresh one, the map page offline.
    const fs::path work = fs::temp_directory_path() / "veltrix_bench_window_open_work";
    fs::remove_all(work);
    fs::create_directories(work);
    std::ofstream(work / "Veltrix.ini")
        << "[UI]\nLANGID=ENG\nMAP=2\n[WINPOS]\nLEFT=0\nTOP=0\nRIGHT=1250\nBOTTOM=560\n";
    if (chdir(work.c_str()) != 0) return 1;

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    COrvexDlg dlg;
    if (!dlg.Create()) return 1;
    dlg.show();
    if (!QTest::qWaitForWindowExposed(&dlg) ||
        !QTest::qWaitFor([&] { return dlg.MapDlg() && dlg.MapDlg()->IsEngineReady(); }, 60000)) {
        std::fprintf(stderr, "the window or its map page did not come up\n");
        return 1;
    }

    const Figures first = OpenOnce(dlg, card);
    std::printf("first open: lists filled after %.1f ms, first time report after %.1f ms\n", first.listsMs,
                first.firstReportMs);
    std::vector<double> lists, report;
    for (int run = 0; run < runs; ++run) {
        const Figures f = OpenOnce(dlg, card);
        lists.push_back(f.listsMs);
        report.push_back(f.firstReportMs);
    }
    std::printf("warm (median of %d): lists filled after %.1f ms, first time report after %.1f ms "
                "(of which the countdown to the first recording is 500 ms by design)\n",
                runs, Median(lists), Median(report));

    // Memory while both videos play with the map shown.
    QTest::qWait(3000);
    const bool both = dlg.FrontEngine()->m_bPlaying && dlg.RearEngine()->m_bPlaying;
    const int self = static_cast<int>(getpid());
    long treeRss = 0, treePss = 0;
    const std::vector<int> tree = ProcessTree(self);
    for (int pid : tree) {
        treeRss += StatusKb(pid, "VmRSS");
        treePss += StatusKb(pid, "Pss", "smaps_rollup");
    }
    std::printf("memory while %s with the map shown: viewer process %.1f MB resident (peak %.1f MB); "
                "with its %zu web engine processes %.1f MB resident, %.1f MB proportional (PSS)\n",
                both ? "two videos play" : "the first recording plays", StatusKb(self, "VmRSS") / 1024.0,
                StatusKb(self, "VmHWM") / 1024.0, tree.size() - 1, treeRss / 1024.0, treePss / 1024.0);
    if (!keep && !given) fs::remove_all(card);
    fs::remove_all(work);
    std::fflush(nullptr);
    _exit(0);
}
