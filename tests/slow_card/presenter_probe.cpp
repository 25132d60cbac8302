// Opens recordings through the window's telemetry presenter the way the window does (offscreen, with
// the G-sensor curve), and prints for each opening what the card counted and how long the UI thread
// went without turning its event loop:
//   open index=N shown=0|1 timeout=0|1 ms=N gap_ms=N reads=N bytes=N
//   presenter_probe open [--hang-first] FILE...   FILEs lie in one folder, opened in this order;
//       --hang-first: the card hangs (VELTRIX_SLOW_CARD_HANG_FLAG is created) for the first opening
//       and answers again after it ended.
//   presenter_probe make-ts OUT MB               a layout-2 .TS of about MB megabytes (a real minute
//       padded as a camera's 2 GB an hour, repeated).
#include <dlfcn.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "control_ids.h"
#include "fixture_writer.h"
#include "gsensor_ctrl.h"
#include "recording_catalog.h"
#include "telemetry_presenter.h"
#include "ts_writer.h"

namespace fs = std::filesystem;

namespace {

struct Counts {
    uint64_t reads = 0, bytes = 0;
};
Counts CardCounts() {
    using Fn = void (*)(uint64_t*, uint64_t*, uint64_t*, uint64_t*);
    Counts c;
    if (auto fn = reinterpret_cast<Fn>(dlsym(RTLD_DEFAULT, "veltrix_slow_card_counts"))) fn(&c.reads, &c.bytes, nullptr, nullptr);
    return c;
}

int MakeTs(const fs::path& out, uint64_t mb) {
    const fs::path piece = out.parent_path() / "piece.TS.tmp";
    fixtures::WriteTsRecording(piece, fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 60)), {},
                               fixtures::MakeClip({640, 360, 60, 25, "", 0, "testsrc2"}));
    std::ifstream in(piece, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close();
    fs::remove(piece);
    std::string null(188, '\xFF');
    null[0] = 0x47, null[1] = 0x1F, null[2] = static_cast<char>(0xFF), null[3] = 0x10;
    while (bytes.size() + 188 <= (34u << 20))
        bytes += null;
    std::ofstream file(out, std::ios::binary);
    for (uint64_t written = 0; written < (mb << 20); written += bytes.size())
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file ? 0 : 1;
}

int Open(std::vector<fs::path> files, bool hangFirst) {
    CRecordingCatalog catalog;
    if (files.empty() || !catalog.ScanSource(files.front().parent_path(), "")) return 4;
    QWidget window;
    auto* curve = new CGSensorCtrl(&window);
    CTelemetryPresenter::Views views;
    views.child = [curve](int id) -> QWidget* { return id == IDC_GSENSOR ? curve : nullptr; };
    views.curveShown = [] { return true; };
    CTelemetryPresenter presenter(catalog, views);

    QElapsedTimer sinceTick;
    qint64 gap = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        gap = std::max(gap, sinceTick.restart());
    });
    ticker.start(5);
    const char* flag = std::getenv("VELTRIX_SLOW_CARD_HANG_FLAG");
    for (size_t n = 0; n < files.size(); ++n) {
        int index = -1;
        for (size_t i = 0; i < catalog.Entries().size(); ++i)
            if (catalog.EntryPath(i) == files[n]) index = static_cast<int>(i);
        if (index < 0) return 5;
        const bool hang = hangFirst && n == 0 && flag;
        if (hang) std::ofstream(flag) << "hung\n";
        bool shown = false, timedOut = false;
        QEventLoop loop;
        auto a = QObject::connect(&presenter, &CTelemetryPresenter::telemetryShown, [&] { shown = true, loop.quit(); });
        auto b = QObject::connect(&presenter, &CTelemetryPresenter::loadTimedOut, [&](const QString& message) {
            timedOut = true;
            std::printf("message %s\n", message.toUtf8().constData());
            loop.quit();
        });
        QTimer::singleShot(600000, &loop, &QEventLoop::quit); // a 2 GB file at 30 MB/s takes over a minute
        const Counts before = CardCounts();
        QElapsedTimer took;
        took.start();
        catalog.SetCurrentEntry(index);
        sinceTick.start();
        gap = 0;
        presenter.Open(index);
        gap = std::max(gap, sinceTick.restart());
        loop.exec();
        QObject::disconnect(a);
        QObject::disconnect(b);
        const Counts after = CardCounts();
        std::printf("open index=%d shown=%d timeout=%d ms=%lld gap_ms=%lld reads=%llu bytes=%llu\n", index, shown ? 1 : 0,
                    timedOut ? 1 : 0, static_cast<long long>(took.elapsed()), static_cast<long long>(gap),
                    static_cast<unsigned long long>(after.reads - before.reads),
                    static_cast<unsigned long long>(after.bytes - before.bytes));
        std::fflush(stdout);
        if (hang) fs::remove(flag);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::string mode = argv[1];
    if (mode == "make-ts" && argc >= 4) return MakeTs(argv[2], std::strtoull(argv[3], nullptr, 10));
    if (mode != "open") return 2;
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    bool hangFirst = false;
    std::vector<fs::path> files;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--hang-first") == 0)
            hangFirst = true;
        else
            files.emplace_back(argv[i]);
    }
    const int rc = Open(files, hangFirst);
    std::fflush(stdout);
    std::_Exit(rc); // a worker may still wait on a card that was hung
}
