#include "folder_scan.h"

#include <memory>

#include "folder_walk.h"

namespace fs = std::filesystem;

struct CFolderScan::Result {
    CRecordingCatalog catalog;
    bool found = false;
};

CFolderScan::CFolderScan(CRecordingCatalog& catalog, ICatalogObserver* observer,
                         const IGroupLineState* groupLines, IFolderScanWindow& window, COpeningFlag& opening)
    : m_Catalog(catalog), m_pObserver(observer), m_pGroupLines(groupLines), m_Window(window),
      m_Opening(opening) {}

CFolderScan::~CFolderScan() {
    if (m_ScanThread.joinable()) m_ScanThread.join();
}

bool CFolderScan::Start(fs::path folder) {
    if (Busy()) return false;
    m_bScanStarted = true;
    if (m_ScanThread.joinable()) m_ScanThread.join(); // the previous walk has posted its result already
    m_Catalog.ResetCatalog();
    m_Window.ShowLoadingText();

    auto result = std::make_shared<Result>();
    if (m_ParserFactory) result->catalog.SetParserFactory(m_ParserFactory);
    m_ScanThread = std::thread([this, result, folder = std::move(folder)] {
        CRecordingCatalog& scanned = result->catalog;
        try {
            result->found =
                FindFilesRecursive(folder, [&scanned](const std::string& root, const std::string& relative,
                                                      const std::string& name, bool isFolder) {
                    scanned.AddScannedFile(root, relative, name, isFolder);
                });
            scanned.SortCatalog(); // a large card's sort is too long for the UI thread
        } catch (...) { // out of memory: an empty result; the UI steps still run and clear the busy flag
            result->found = false;
        }
        QMetaObject::invokeMethod(
            this, [this, result] { Finish(*result); }, Qt::QueuedConnection);
    });
    return true;
}

void CFolderScan::Finish(Result& result) {
    CRecordingCatalog& scanned = result.catalog;
    if (!result.found) scanned.ResetCatalog();
    scanned.SetObserver(m_pObserver);
    scanned.SetGroupLineState(m_pGroupLines);
    m_Catalog = std::move(scanned);
    const size_t count = m_Catalog.Entries().size();
    if (count != 0) m_Catalog.GroupCatalog(); // builds the rows; the observer fills the lists
    m_Window.RemoveLoadingText();
    m_bScanStarted = false;
    if (count != 0)
        m_Countdown.Start(0);
    else
        m_Opening.End();
    m_Window.OnFolderScanFinished(result.found, count);
}
