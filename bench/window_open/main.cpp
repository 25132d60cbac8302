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
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench_card.h"
#include "control_ids.h"
#include "map_window.h"
#include "main_window.h"
#include "orvex_file_list_ctrl.h"
#include "playback_session.h"
#include "private_message.h"
#include "video_engine.h"

namespace fs = std::filesystem;

namespace {

// Notes when the first time report reaches the window (before the window handles it).
struct TimeReportWatch : QObject {
    QElapsedTimer* clock = nullptr;
    double firstReportMs = -1;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == static_cast<QEvent::Type>(MSG_PLAYER_TIME) && firstReportMs < 0)
            firstReportMs = clock->nsecsElapsed() / 1e6;
        return false;
    }
};

struct Figures {
    double listsMs = -1, firstReportMs = -1;
};

Figures OpenOnce(COrvexMainWindow& dlg, const fs::path& card) {
    auto* files = dlg.ControlById<COrvexFileListCtrl>(IDC_FILE_LIST);
    // A new open is taken once the previous one has played (the opening flag is down).
    Figures figures;
    if (!QTest::qWaitFor([&] { return !dlg.Session()->Opening().Active() && !dlg.ScanBusy(); }, 30000)) return figures;
    dlg.StopPlayback();
    QApplication::processEvents();
    QElapsedTimer clock;
    TimeReportWatch watch;
    watch.clock = &clock;
    dlg.installEventFilter(&watch);
    clock.start();
    dlg.OpenFolder(card);
    // The old lists go at the start of the scan; the new ones are filled in one UI step.
    if (QTest::qWaitFor([&] { return files->LineCount() == 2 * bench::kCardPairs; }, 60000))
        figures.listsMs = clock.nsecsElapsed() / 1e6;
    if (QTest::qWaitFor([&] { return watch.firstReportMs >= 0; }, 30000))
        figures.firstReportMs = watch.firstReportMs;
    dlg.removeEventFilter(&watch);
    return figures;
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
    bench::CardOptions options;
    options.card = fs::temp_directory_path() / "veltrix_bench_window_open";
    options.runs = 5;
    if (!bench::ParseCardOptions(argc, argv, "bench_window_open", options)) return 2;
    bench::EnsureCard(options, "Movi_be");

    // The viewer's settings file lives in its working folder: a fresh one, the map page offline.
    const fs::path work = fs::temp_directory_path() / "veltrix_bench_window_open_work";
    fs::remove_all(work);
    fs::create_directories(work);
    std::ofstream(work / "Veltrix.ini")
        << "[UI]\nLANGID=ENG\nMAP=2\n[WINPOS]\nLEFT=0\nTOP=0\nRIGHT=1250\nBOTTOM=560\n";
    if (chdir(work.c_str()) != 0) return 1;

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    COrvexMainWindow dlg;
    if (!dlg.Create()) return 1;
    dlg.show();
    if (!QTest::qWaitForWindowExposed(&dlg) ||
        !QTest::qWaitFor([&] { return dlg.MapDlg() && dlg.MapDlg()->IsEngineReady(); }, 60000)) {
        std::fprintf(stderr, "the window or its map page did not come up\n");
        return 1;
    }

    const Figures first = OpenOnce(dlg, options.card);
    std::printf("first open: lists filled after %.1f ms, first time report after %.1f ms\n", first.listsMs,
                first.firstReportMs);
    std::vector<double> lists, report;
    for (int run = 0; run < options.runs; ++run) {
        const Figures f = OpenOnce(dlg, options.card);
        lists.push_back(f.listsMs);
        report.push_back(f.firstReportMs);
    }
    std::printf("warm (median of %d): lists filled after %.1f ms, first time report after %.1f ms "
                "(of which the countdown to the first recording is 500 ms by design)\n",
                options.runs, bench::Median(lists), bench::Median(report));

    // Memory while both videos play with the map shown.
    QTest::qWait(3000);
    const bool both = dlg.FrontEngine()->IsPlaying() && dlg.RearEngine()->IsPlaying();
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
    if (!options.keep && !options.given) fs::remove_all(options.card);
    fs::remove_all(work);
    std::fflush(nullptr);
    _exit(0);
}
