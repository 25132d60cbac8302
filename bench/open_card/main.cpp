// bench_open_card [--card DIR] [--keep] [--runs N]
//
//   QT_QPA_PLATFORM=offscreen build/bench/open_card/bench_open_card
//
// Writes the scan benchmark's card (1,000 recordings: 500 front/rear pairs, layouts 0 to 4 in turn,
// sparse files of 50 to 500 MB) unless --card names one that exists, then opens it as the open
// command does: CFolderScan walks, parses and sorts on its worker, and the UI thread groups and
// fills the real file and group lists (1,000 recordings fit in one fill step). Prints, as medians of warm runs, the time from the open to
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
#include <string>
#include <vector>

#include "bench_card.h"
#include "catalog_lists.h"
#include "folder_scan.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"

namespace fs = std::filesystem;

namespace {

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
    COpeningFlag opening;
    CFolderScan scan(catalog, &observer, &groups, window, opening);

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

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    bench::CardOptions options;
    options.card = fs::temp_directory_path() / "veltrix_bench_open_card";
    options.runs = 7;
    if (!bench::ParseCardOptions(argc, argv, "bench_open_card", options)) return 2;
    bench::EnsureCard(options, "Movie_b");

    const Figures first = OpenOnce(options.card);
    std::printf("first open: %zu entries, %zu file lines; lists filled after %.1f ms (UI thread %.1f ms), "
                "longest UI stall %.1f ms\n",
                first.entries, first.lines, first.totalMs, first.fillMs, first.longestStallMs);
    std::vector<double> total, fill, stall;
    for (int run = 0; run < options.runs; ++run) {
        const Figures f = OpenOnce(options.card);
        total.push_back(f.totalMs);
        fill.push_back(f.fillMs);
        stall.push_back(f.longestStallMs);
    }
    std::printf(
        "warm (median of %d): lists filled after %.1f ms, of which %.1f ms filling the lists on the UI "
        "thread; longest UI stall %.1f ms\n",
        options.runs, bench::Median(total), bench::Median(fill), bench::Median(stall));
    std::printf("then the countdown (5 ticks of 100 ms) opens the first recording: +500 ms by design\n");
    if (!options.keep && !options.given) fs::remove_all(options.card);
    return 0;
}
