// The folder scan: the walk on a worker thread, every catalog and window step on the UI thread, in
// order; busy from the start until the last step; the countdown to the first recording.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <atomic>
#include <set>
#include <string>
#include <vector>

#include "folder_scan.h"
#include "navigation.h"
#include "parser_factory.h"
#include "scan_card.h"

using namespace scan_test;

namespace {

// Records the UI-side steps with the thread they ran on, and what the catalog held at each one.
class StepLog : public ICatalogObserver, public IFolderScanWindow {
  public:
    explicit StepLog(const CRecordingCatalog& catalog) : m_Catalog(catalog) {}
    void SetScan(const CFolderScan* scan) { m_pScan = scan; }

    void OnCatalogReset() override { Note("reset"); }
    void OnRowsChanged() override { Note("rows " + std::to_string(m_Catalog.GroupRows().size())); }
    void ShowLoadingText() override { Note("loading shown"); }
    void RemoveLoadingText() override { Note("loading removed"); }
    void OnFolderScanFinished(bool found, size_t count) override {
        Note(std::string("finished ") + (found ? "found " : "missing ") + std::to_string(count));
        finished = true;
    }

    std::vector<std::string> steps;
    std::vector<bool> busyAtStep;
    bool allOnUiThread = true;
    bool finished = false;

  private:
    void Note(const std::string& step) {
        steps.push_back(step);
        busyAtStep.push_back(m_pScan && m_pScan->Scanning());
        allOnUiThread = allOnUiThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    const CRecordingCatalog& m_Catalog;
    const CFolderScan* m_pScan = nullptr;
};

// The real readers, noting the threads they are created on.
struct ThreadNotingReaders {
    CRecordingCatalog::ParserFactory Factory() {
        return [this](const fs::path& path) {
            ++created;
            if (QThread::currentThread() == QCoreApplication::instance()->thread()) ++onUiThread;
            return CreateVideoParser(path);
        };
    }
    std::atomic<int> created{0};
    std::atomic<int> onUiThread{0};
};

void WaitFor(const bool& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < 60'000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

struct Harness {
    Harness() : log(catalog), scan(catalog, &log, nullptr, log, opening) {
        catalog.SetObserver(&log);
        log.SetScan(&scan);
        scan.SetParserFactory(readers.Factory());
    }
    CRecordingCatalog catalog;
    COpeningFlag opening;
    StepLog log;
    ThreadNotingReaders readers;
    CFolderScan scan;
};

} // namespace

TEST(FolderScan, WalksOnAWorkerAndRebuildsTheCatalogOnTheUiThreadInOrder) {
    FixtureCard card("scan_order");
    card.WriteStandardCard();
    Harness h;
    h.opening.Begin();
    {
        fs::path folder = card.root; // the worker keeps its own copy
        ASSERT_TRUE(h.scan.Start(folder));
        folder = "/nonexistent";
    }
    EXPECT_TRUE(h.scan.Busy());
    EXPECT_TRUE(h.catalog.Entries().empty()) << "emptied before the walk starts";
    EXPECT_FALSE(h.scan.Start(card.root)) << "a second open while scanning is ignored";

    WaitFor(h.log.finished);
    ASSERT_TRUE(h.log.finished);
    const std::vector<std::string> expected{"reset", "loading shown", "rows 3", "loading removed",
                                            "finished found 5"};
    EXPECT_EQ(h.log.steps, expected);
    EXPECT_EQ(h.log.busyAtStep, (std::vector<bool>{true, true, true, true, false}))
        << "busy from before the walk until the last step";
    EXPECT_TRUE(h.log.allOnUiThread);
    EXPECT_EQ(h.readers.created, 6) << "five recordings and the file that is no movie";
    EXPECT_EQ(h.readers.onUiThread, 0) << "no file is read on the UI thread";
    EXPECT_EQ(h.catalog.FilesVisited(), 6);
    EXPECT_TRUE(h.opening.Active()) << "still opening: the first recording has not reported a time yet";

    ASSERT_EQ(h.catalog.Entries().size(), 5u);
    EXPECT_EQ(h.catalog.Entries()[0].m_strFileName, RecordingName(FixtureCard::kStart, 0, ".MP4"));
    EXPECT_EQ(h.catalog.Entries()[1].m_strFileName, RecordingName(FixtureCard::kStart, 0, "_b.MP4"));
    EXPECT_EQ(h.catalog.Entries()[4].m_strFileName, RecordingName(FixtureCard::kStart + 1200, 2, "_b.MP4"));

    // Countdown: busy until timer 105 opens the first entry on its fifth tick.
    EXPECT_TRUE(h.scan.Busy()) << "previous/next/open wait for the countdown";
    EXPECT_FALSE(h.scan.Start(card.root));
    int opened = -1;
    for (int tick = 0; tick < 5; ++tick)
        opened = h.scan.TickCountdown();
    EXPECT_EQ(opened, 0);
    EXPECT_FALSE(h.scan.Busy());
    h.opening.End();
}

TEST(FolderScan, NavigationOverTheScannedCardSkipsPartnersOnDisk) {
    FixtureCard card("scan_navigation");
    card.WriteStandardCard();
    Harness h;
    ASSERT_TRUE(h.scan.Start(card.root));
    WaitFor(h.log.finished);
    ASSERT_EQ(h.catalog.Entries().size(), 5u);

    h.catalog.SetCurrentEntry(0);
    NavigationPlan plan = PlanNavigation(NavigationDirection::kNext, h.catalog);
    EXPECT_EQ(plan.skippedPartner, 1) << "the rear file of the recording being played";
    EXPECT_EQ(plan.openIndex, 2);

    h.catalog.SetCurrentEntry(2);
    plan = PlanNavigation(NavigationDirection::kNext, h.catalog);
    EXPECT_EQ(plan.skippedPartner, 3);
    EXPECT_EQ(plan.openIndex, 4) << "the rear recording without a front file";

    h.catalog.SetCurrentEntry(4);
    plan = PlanNavigation(NavigationDirection::kNext, h.catalog);
    EXPECT_TRUE(plan.wrapped);
    EXPECT_EQ(plan.openIndex, 0) << "next on the last plays the first";

    h.catalog.SetCurrentEntry(2);
    plan = PlanNavigation(NavigationDirection::kPrevious, h.catalog);
    EXPECT_EQ(plan.skippedPartner, -1) << "the rear file of the previous recording is no partner of this one";
    EXPECT_EQ(plan.openIndex, 1);
}

TEST(FolderScan, EmptyOrMissingFolderClearsTheOpeningFlagAndStartsNoCountdown) {
    Harness h;
    const fs::path empty = fixtures::ScratchDir("playback_scan_empty");
    h.opening.Begin();
    ASSERT_TRUE(h.scan.Start(empty));
    WaitFor(h.log.finished);
    EXPECT_EQ(h.log.steps.back(), "finished found 0");
    EXPECT_FALSE(h.opening.Active());
    EXPECT_FALSE(h.scan.Busy());
    EXPECT_EQ(h.scan.TickCountdown(), -1);

    h.log.finished = false;
    h.opening.Begin();
    ASSERT_TRUE(h.scan.Start(empty / "gone"));
    WaitFor(h.log.finished);
    EXPECT_EQ(h.log.steps.back(), "finished missing 0") << "the window says \"Folder is not exist.\"";
    EXPECT_FALSE(h.opening.Active());
    EXPECT_FALSE(h.scan.Busy());
}

TEST(FolderScan, RescanReplacesTheCatalogAndKeepsItsObserver) {
    FixtureCard card("scan_twice");
    card.WriteStandardCard();
    Harness h;
    ASSERT_TRUE(h.scan.Start(card.root));
    WaitFor(h.log.finished);
    for (int tick = 0; tick < 5; ++tick)
        h.scan.TickCountdown();
    h.catalog.SetCurrentEntry(3);

    h.log.finished = false;
    h.log.steps.clear();
    fs::remove_all(card.root / "Movi_be");
    ASSERT_TRUE(h.scan.Start(card.root));
    WaitFor(h.log.finished);
    EXPECT_EQ(h.log.steps, (std::vector<std::string>{"reset", "loading shown", "rows 2", "loading removed",
                                                     "finished found 2"}));
    EXPECT_EQ(h.catalog.Entries().size(), 2u);
    EXPECT_EQ(h.catalog.CurrentEntry(), -1) << "the old current entry is gone";
    h.catalog.ResetCatalog();
    EXPECT_EQ(h.log.steps.back(), "reset") << "the taken-over catalog still tells the window";
}
