// bench_ui_stall_scan [--recordings N] [--runs N] [--dir DIR]
// A folder of N recordings (default 100,000: front/rear pairs of empty files named like a dash
// camera's, fronts in "Movie", rears in "Movie_b", 60 s each, a new group every 50 pairs) opened
// the way the open command does: CFolderScan walks the folder on its worker, the UI thread takes
// the result over and the real file and group lists (shown, offscreen) fill. A stand-in reader
// gives every file its facts from its name, so the figures are the scan's and the lists', not a
// container reader's. Measures the longest gap between the ticks of a 10 ms timer on the UI thread
// from the start of the scan to both lists holding every row: once into empty lists and once
// again over the full lists (a reopen, whose reset empties 100,000 lines first).
// Prints each run, then the medians.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "catalog_lists.h"
#include "folder_scan.h"
#include "local_time.h"
#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"

namespace fs = std::filesystem;

namespace {

struct Options {
    int recordings = 100000;
    int runs = 5;
    fs::path dir = fs::temp_directory_path() / "veltrix_bench_ui_stall_scan";
};

bool Parse(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--recordings" && hasValue)
            o.recordings = std::atoi(argv[++i]);
        else if (a == "--runs" && hasValue)
            o.runs = std::max(1, std::atoi(argv[++i]));
        else if (a == "--dir" && hasValue)
            o.dir = argv[++i];
        else {
            std::fprintf(stderr, "usage: bench_ui_stall_scan [--recordings N] [--runs N] [--dir DIR]\n");
            return false;
        }
    }
    return o.recordings >= 2;
}

constexpr int kPairsPerGroup = 50;
constexpr uint32_t kRecordingMs = 60000;

std::string Name(int64_t start, int number, const char* tail) {
    const LocalDateTime t = TimeToLocalWallClock(start);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s", t.year, t.month, t.day, t.hour,
                  t.minute, t.second, number % 100, tail);
    return name;
}

// Empty files; written again only when the folder does not hold the count asked for.
bool WriteFolder(const Options& o) {
    const fs::path marker = o.dir / ("written_" + std::to_string(o.recordings));
    if (fs::exists(marker)) return true;
    fs::remove_all(o.dir);
    fs::create_directories(o.dir / "Movie");
    fs::create_directories(o.dir / "Movie_b");
    int64_t start = LocalWallClockToTime(2024, 6, 1, 8, 0, 0);
    const int pairs = o.recordings / 2;
    for (int i = 0; i < pairs; ++i) {
        if (i % kPairsPerGroup == 0 && i != 0) start += 600; // parked for ten minutes
        for (const auto& [folder, tail] : {std::pair{"Movie", ".MP4"}, std::pair{"Movie_b", "_b.MP4"}}) {
            const fs::path path = o.dir / folder / Name(start, i, tail);
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            if (fd < 0) return false;
            ::close(fd);
        }
        start += kRecordingMs / 1000;
    }
    const int fd = ::open(marker.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// Facts from the name: the start time it carries, 60 s, 1080p, 100 MB.
class NameReader : public COrvexVideoParser {
  public:
    int Parse(const fs::path& path) override {
        const std::string name = path.filename().string();
        int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
        if (!m_pMediaInfo ||
            std::sscanf(name.c_str(), "%4d_%2d_%2d_%2d%2d%2d", &y, &mo, &d, &h, &mi, &s) != 6)
            return -1;
        m_pMediaInfo->m_llStartTime = LocalWallClockToTime(y, mo, d, h, mi, s);
        m_pMediaInfo->m_uDurationMs = kRecordingMs;
        m_pMediaInfo->m_ullFileSize = 100u << 20;
        m_pMediaInfo->m_wWidth = 1920;
        m_pMediaInfo->m_wHeight = 1080;
        return 0;
    }
};

struct ScanWindow : IFolderScanWindow {
    void ShowLoadingText() override {}
    void RemoveLoadingText() override {}
    void OnFolderScanFinished(bool, size_t count) override {
        entries = count;
        finished = true;
    }
    size_t entries = 0;
    bool finished = false;
};

struct Figures {
    double seconds = 0;
    double longestMs = 0;
    double resetMs = 0, fillStepMs = 0; // the lists' own steps on the UI thread
    int fileLines = 0, groupLines = 0;
};

// The lists' glue, timed: the reset (lines emptied) and the step that follows the rows' rebuild.
class TimedLists : public ICatalogObserver {
  public:
    TimedLists(const CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files)
        : m_Lists(catalog, groups, files) {}
    void OnCatalogReset() override {
        QElapsedTimer step;
        step.start();
        m_Lists.OnCatalogReset();
        resetMs = step.nsecsElapsed() / 1e6;
    }
    void OnRowsChanged() override {
        QElapsedTimer step;
        step.start();
        m_Lists.OnRowsChanged();
        fillStepMs = step.nsecsElapsed() / 1e6;
    }
    double resetMs = 0, fillStepMs = 0;

  private:
    CCatalogLists m_Lists;
};

// The viewer's pieces of a scan: the catalog, the two lists in a shown window, the glue.
class Viewer {
  public:
    Viewer() : m_Lists(m_Catalog, m_Groups, m_Files) {
        auto* layout = new QVBoxLayout(&m_Window);
        layout->addWidget(&m_Groups);
        layout->addWidget(&m_Files);
        m_Window.resize(1000, 700);
        m_Groups.Setup();
        m_Files.Setup();
        m_Catalog.SetObserver(&m_Lists);
        m_Catalog.SetGroupLineState(&m_Groups);
        m_Window.show();
    }
    ~Viewer() {
        m_Catalog.SetObserver(nullptr);
        m_Catalog.SetGroupLineState(nullptr);
        // The lists belong to this object, not to the window's children.
        m_Groups.setParent(nullptr);
        m_Files.setParent(nullptr);
    }

    Figures Scan(const fs::path& folder) {
        ScanWindow window;
        COpeningFlag opening;
        CFolderScan scan(m_Catalog, &m_Lists, &m_Groups, window, opening);
        scan.SetParserFactory([](const fs::path&) { return std::make_unique<NameReader>(); });

        QElapsedTimer clock, sinceTick;
        double longest = 0;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
            sinceTick.restart();
        });
        ticker.start(10);
        QApplication::processEvents();

        clock.start();
        sinceTick.start();
        scan.Start(folder);
        const auto full = [&] {
            return window.finished &&
                   static_cast<size_t>(m_Files.LineCount()) == m_Catalog.FileRows().size() &&
                   static_cast<size_t>(m_Groups.LineCount()) == m_Catalog.GroupRows().size();
        };
        while (!full())
            QApplication::processEvents(QEventLoop::WaitForMoreEvents);
        Figures figures;
        figures.seconds = clock.nsecsElapsed() / 1e9;
        figures.longestMs = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
        figures.resetMs = m_Lists.resetMs;
        figures.fillStepMs = m_Lists.fillStepMs;
        figures.fileLines = m_Files.LineCount();
        figures.groupLines = m_Groups.LineCount();
        // Let the countdown to the first entry go by without opening anything.
        scan.Countdown().Cancel();
        return figures;
    }

  private:
    QWidget m_Window;
    CRecordingCatalog m_Catalog;
    COrvexGroupListCtrl m_Groups;
    COrvexFileListCtrl m_Files;
    TimedLists m_Lists;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    if (!Parse(argc, argv, o)) return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!WriteFolder(o)) {
        std::fprintf(stderr, "cannot write the folder %s\n", o.dir.c_str());
        return 1;
    }
    std::printf("scan of %d recordings (empty files, stand-in reader) into the shown lists, %d runs\n",
                o.recordings / 2 * 2, o.runs);
    std::vector<double> emptySeconds, emptyGap, againSeconds, againGap;
    for (int run = 0; run < o.runs; ++run) {
        Viewer viewer;
        const Figures first = viewer.Scan(o.dir);
        const Figures again = viewer.Scan(o.dir);
        if (first.fileLines != o.recordings / 2 * 2 || again.fileLines != first.fileLines) {
            std::fprintf(stderr, "run %d: %d and %d file lines, expected %d\n", run + 1, first.fileLines,
                         again.fileLines, o.recordings / 2 * 2);
            return 1;
        }
        std::printf("run %d: into empty lists %.2f s, longest UI stall %.0f ms (first fill step %.0f ms); "
                    "again over full lists %.2f s, longest UI stall %.0f ms (reset %.0f ms, first fill step "
                    "%.0f ms); %d file lines, %d group lines\n",
                    run + 1, first.seconds, first.longestMs, first.fillStepMs, again.seconds, again.longestMs,
                    again.resetMs, again.fillStepMs, again.fileLines, again.groupLines);
        emptySeconds.push_back(first.seconds);
        emptyGap.push_back(first.longestMs);
        againSeconds.push_back(again.seconds);
        againGap.push_back(again.longestMs);
    }
    std::printf("median: into empty lists %.2f s, longest UI stall %.0f ms; again over full lists %.2f s, "
                "longest UI stall %.0f ms\n",
                Median(emptySeconds), Median(emptyGap), Median(againSeconds), Median(againGap));
    return 0;
}
