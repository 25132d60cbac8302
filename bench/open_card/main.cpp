// bench_open_card [--card DIR] [--keep] [--runs N]
//
//   QT_QPA_PLATFORM=offscreen build/bench/open_card/bench_open_card
//
// Writes the scan benchmark's card (1,000 recordings: 500 front/rear pairs, layouts 0 to 4 in turn,
// sparse files of 50 to 500 MB) unless --card names one that exists, then opens it as the open
// command does: CFolderScan walks and parses on its worker, and the UI thread sorts, groups and
// fills the real file and group lists. Prints, as medians of warm runs, the time from the open to
// the lists filled, the part of it spent on the UI thread, and the longest gap between the ticks of
// a 1 ms UI timer (how long the window would not answer). The first run is also printed (cold when
// the card was just written; the page cache is not dropped).
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "catalog_lists.h"
#include "fixture_writer.h"
#include "folder_scan.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"

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
    fs::create_directories(card / "Movie_b");
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
        fixtures::WriteRecording(card / "Movie_b" / Name(t.startTime, i, "_b.MP4"), layout, t, options, clip);
    }
}

struct Window : IFolderScanWindow {
    void ShowLoadingText() override {}
    void RemoveLoadingText() override {}
    void OnFolderScanFinished(bool, size_t count) override {
        entries = count;
        finished = true;
    }
    size_t entries = 0;
    bool finished = false;
};

// Times the UI thread's share: from the worker's result arriving (the catalog's rows rebuilt and
// the lists filled happen in that one step) to the lists being full.
struct TimedLists : ICatalogObserver {
    TimedLists(const CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files)
        : lists(catalog, groups, files) {}
    void OnCatalogReset() override { lists.OnCatalogReset(); }
    void OnRowsChanged() override {
        QElapsedTimer fill;
        fill.start();
        lists.OnRowsChanged();
        fillMs = fill.nsecsElapsed() / 1e6;
    }
    CCatalogLists lists;
    double fillMs = 0;
};

struct Figures {
    double totalMs = 0, fillMs = 0, longestStallMs = 0;
    size_t entries = 0, lines = 0;
};

Figures OpenOnce(const fs::path& card) {
    CRecordingCatalog catalog;
    COrvexGroupListCtrl groups;
    COrvexFileListCtrl files;
    groups.resize(600, 200);
    files.resize(900, 300);
    groups.Setup();
    files.Setup();
    TimedLists observer(catalog, groups, files);
    catalog.SetObserver(&observer);
    Window window;
    CFolderScan scan(catalog, &observer, &groups, window);

    QElapsedTimer sinceTick;
    double longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
        sinceTick.restart();
    });
    ticker.start(1);
    QApplication::processEvents();

    QElapsedTimer clock;
    clock.start();
    sinceTick.start();
    scan.Start(card);
    while (!window.finished)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    Figures figures;
    figures.totalMs = clock.nsecsElapsed() / 1e6;
    figures.longestStallMs = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
    figures.fillMs = observer.fillMs;
    figures.entries = window.entries;
    figures.lines = static_cast<size_t>(files.LineCount());
    return figures;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    fs::path card = fs::temp_directory_path() / "veltrix_bench_open_card";
    bool keep = false, given = false;
    int runs = 7;
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
            std::fprintf(stderr, "usage: bench_open_card [--card DIR] [--keep] [--runs N]\n");
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

    const Figures first = OpenOnce(card);
    std::printf("first open: %zu entries, %zu file lines; lists filled after %.1f ms (UI thread %.1f ms), "
                "longest UI stall %.1f ms\n",
                first.entries, first.lines, first.totalMs, first.fillMs, first.longestStallMs);
    std::vector<double> total, fill, stall;
    for (int run = 0; run < runs; ++run) {
        const Figures f = OpenOnce(card);
        total.push_back(f.totalMs);
        fill.push_back(f.fillMs);
        stall.push_back(f.longestStallMs);
    }
    std::printf(
        "warm (median of %d): lists filled after %.1f ms, of which %.1f ms filling the lists on the UI "
        "thread; longest UI stall %.1f ms\n",
        runs, Median(total), Median(fill), Median(stall));
    std::printf("then the countdown (5 ticks of 100 ms) opens the first recording: +500 ms by design\n");
    if (!keep && !given) fs::remove_all(card);
    return 0;
}
