// The telemetry presenter: a load that belongs to an earlier opening never reaches the curve or the
// map, a dropped recording's load neither, and the latest opening's telemetry is shown when its load
// ends, caught up with the playback time reported meanwhile.
#include "shell_test_support.h"

#include <QElapsedTimer>

#include <atomic>
#include <thread>

#include "control_ids.h"
#include "fixture_writer.h"
#include "gsensor_ctrl.h"
#include "recording_catalog.h"
#include "telemetry_cache.h"
#include "telemetry_presenter.h"

namespace fs = std::filesystem;

namespace {

struct PresenterRig {
    CRecordingCatalog catalog;
    QWidget window;
    CGSensorCtrl* curve = new CGSensorCtrl(&window);
    std::unique_ptr<CTelemetryPresenter> presenter;
    std::atomic<bool> releaseSlow{false};
    fs::path slowPath;
    std::vector<int> shown;

    explicit PresenterRig(const fs::path& folder) {
        catalog.ScanSource(folder, "");
        CTelemetryPresenter::Views views;
        views.child = [this](int id) -> QWidget* { return id == IDC_GSENSOR ? curve : nullptr; };
        views.curveShown = [] { return true; };
        presenter = std::make_unique<CTelemetryPresenter>(catalog, views);
        // The slow recording's read waits until the test lets it end; the others read at once.
        presenter->SetLoadFunction([this](const fs::path& path) {
    while (path == slowPath && !releaseSlow)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    auto loaded = std::make_shared<LoadedTelemetry>();
    for (const RecordingEntry& entry : catalog.Entries())
        if (RecordingPath(entry) == path) loaded->info = entry.m_MediaInfo;
    loaded->load = LoadRecordingTelemetry(path, loaded->info, loaded->telemetry);
    return std::shared_ptr<const LoadedTelemetry>(loaded);
        });
        QObject::connect(presenter.get(), &CTelemetryPresenter::telemetryShown, [this](int i) { shown.push_back(i); });
    }
    int IndexOf(const fs::path& path) const {
        for (size_t i = 0; i < catalog.Entries().size(); ++i)
    if (catalog.EntryPath(i) == path) return static_cast<int>(i);
        return -1;
    }
    void Open(int index) {
        catalog.SetCurrentEntry(index);
        presenter->Open(index);
    }
    // Turns the event loop for `ms`, or until `done` holds.
    template <class Done> void Spin(int ms, Done done) {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms && !done())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
};

fs::path Write(const fs::path& folder, const std::string& name, int seconds) {
    const fs::path path = folder / name;
    fixtures::WriteRecording(path, kLayoutVideMeta,
                     fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, seconds)));
    return path;
}

} // namespace

namespace {

[[noreturn]] void StaleLoadChild(const ShellTestFolder& folder, const fs::path& card, const fs::path& a,
                                 const fs::path& b) {
    EnterChild(folder.path());
    ChildApplication();
    PresenterRig rig(card);
    const int ia = rig.IndexOf(a), ib = rig.IndexOf(b);
    CHILD_CHECK(ia >= 0 && ib >= 0);
    rig.slowPath = a;
    rig.Open(ia);
    CHILD_CHECK(rig.presenter->Loading());
    rig.Open(ib); // the user chose the next one before the first load ended
    rig.presenter->FollowTime(15000);
    rig.Spin(5000, [&] { return !rig.shown.empty(); });
    CHILD_CHECK(rig.shown == std::vector<int>{ib});
    const size_t samplesOfB = rig.curve->Samples().size();
    CHILD_CHECK(samplesOfB > 0);
    CHILD_CHECK(rig.curve->PositionMs() > 0); // caught up with the time reported meanwhile
    rig.releaseSlow = true;
    rig.Spin(500, [] { return false; });
    CHILD_CHECK(rig.shown == std::vector<int>{ib});
    CHILD_CHECK(rig.presenter->Plot().GetCurrent() == ib);
    CHILD_CHECK(rig.curve->Samples().size() == samplesOfB);
    CHILD_CHECK(rig.presenter->LoadsShown() == 1);

    // A recording dropped while its load runs (deleted, catalog emptied) shows nothing.
    rig.releaseSlow = false;
    rig.Open(ia);
    CHILD_CHECK(rig.curve->Samples().empty()); // the previous curve goes at once
    rig.presenter->Drop();
    rig.releaseSlow = true;
    rig.Spin(500, [] { return false; });
    CHILD_CHECK(rig.shown == std::vector<int>{ib});
    CHILD_CHECK(rig.curve->Samples().empty());
    CHILD_CHECK(!rig.presenter->Loading());
    std::_Exit(0);
}

} // namespace

TEST(TelemetryPresenter, StaleLoadNeverReachesTheWidgets) {
    ShellTestFolder folder;
    const fs::path card = folder.path() / "DCIM";
    fs::create_directories(card);
    const fs::path a = Write(card, "2024_06_01_120000_01.MP4", 20);
    const fs::path b = Write(card, "2024_06_01_120100_01.MP4", 40);
    EXPECT_EXIT(StaleLoadChild(folder, card, a, b), testing::ExitedWithCode(0), "");
}
