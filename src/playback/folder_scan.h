// The folder scan of the open command: the slow part (walking the card and reading every
// recording's header) runs on a worker thread into a private list; everything that touches the
// catalog, the lists or the panes runs on the UI thread, in this order:
//   Start:  busy set -> catalog reset (lists and telemetry emptied) -> "Loading..." shown -> worker
//   worker: walk and parse into its own catalog (nothing shared; the folder is its own copy), sort it
//   Finish: entries taken over -> grouped (lists filling) -> "Loading..." removed ->
//           busy cleared, and the countdown to the first entry started (or the opening flag
//           cleared when nothing was found) -> the window is told.
// So no time report, layout or previous/next ever sees a catalog that is being rebuilt.
#pragma once

#include <QObject>
#include <atomic>
#include <cstddef>
#include <filesystem>
#include <thread>

#include "opening_rules.h"
#include "recording_catalog.h"

// The main window's side of a scan; every call arrives on the UI thread.
class IFolderScanWindow {
  public:
    virtual ~IFolderScanWindow() = default;
    // "Loading..." on the pane of the view mode, with its shown flag; show the pane, paint at once.
    virtual void ShowLoadingText() = 0;
    // Hide the pane, clear the text flag, repaint, show the pane again.
    virtual void RemoveLoadingText() = 0;
    // The last step. folderFound false: the folder did not exist ("Folder is not exist.").
    // With entries, the countdown to the first one is running (TickCountdown).
    virtual void OnFolderScanFinished(bool folderFound, size_t entryCount) = 0;
};

class CFolderScan : public QObject {
  public:
    // observer and groupLines: the ones the main window gave `catalog` (the taken-over catalog
    // gets them again); opening: the playback session's, ended when nothing was found. Lives on the
    // UI thread.
    CFolderScan(CRecordingCatalog& catalog, ICatalogObserver* observer, const IGroupLineState* groupLines,
                IFolderScanWindow& window, COpeningFlag& opening);
    // Waits for a running walk (its result is then dropped).
    ~CFolderScan() override;
    CFolderScan(const CFolderScan&) = delete;
    CFolderScan& operator=(const CFolderScan&) = delete;

    // The reader factory of the walk (default: the catalog's own readers). Called on the worker.
    void SetParserFactory(CRecordingCatalog::ParserFactory factory) { m_ParserFactory = std::move(factory); }

    // Starts a scan of `folder`; false (nothing done) while a scan or the countdown runs.
    bool Start(std::filesystem::path folder);
    // m_bScanStarted: from Start until the scan's last UI step.
    bool Scanning() const { return m_bScanStarted; }
    // A scan or the countdown to the first entry runs: open, previous and next are ignored.
    bool Busy() const { return m_bScanStarted || m_Countdown.Running(); }

    // Timer 105 (every 100 ms): the entry to open now (show the pane of the view mode, then
    // OpenEntry), or -1.
    int TickCountdown() { return m_Countdown.Tick(); }
    COpenCountdown& Countdown() { return m_Countdown; }

  private:
    struct Result;
    void Finish(Result& result);

    CRecordingCatalog& m_Catalog;
    ICatalogObserver* m_pObserver;
    const IGroupLineState* m_pGroupLines;
    IFolderScanWindow& m_Window;
    COpeningFlag& m_Opening;
    CRecordingCatalog::ParserFactory m_ParserFactory;
    std::atomic<bool> m_bScanStarted{false};
    COpenCountdown m_Countdown;
    std::thread m_ScanThread;
};
