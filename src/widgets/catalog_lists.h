// The two list views as the catalog's view: filled from its rows, emptied with it, and the line of
// the recording being played marked in both.
#pragma once

#include <QTimer>
#include <cstddef>
#include <functional>

#include "catalog_view.h"

class CRecordingCatalog;
class COrvexFileListCtrl;
class COrvexGroupListCtrl;

// Group lines, then file lines, from the catalog's rows (check boxes start clear), all at once.
void FillLists(const CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files);

// Makes `entry` the catalog's current entry and moves the playing-line highlight of both lists to
// it and to its group, scrolling both into view. False (nothing changed) when `entry` is not a file
// line. The previous lines may be gone after a rescan: then there is nothing to un-highlight.
// While the lists are still filling, a line not there yet gets its highlight when it is added.
bool MarkCurrent(CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files,
                 int entry);

// The same for a group: its first file becomes the current entry. False for no such group.
bool MarkCurrentGroup(CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files,
                      int group);

// The catalog observer of the main window: empties and fills the lists on the UI thread (the catalog
// is only ever changed there); a refill keeps the mark on the catalog's current entry. onReset drops the open
// recording's telemetry (track, G-sensor series and view, vehicle samples); it may be empty.
//
// A large catalog fills in steps of RowsPerStep() rows (group lines first, then file lines), one
// step per turn of the event loop, so the window keeps answering; a catalog that fits in one step
// is complete when OnRowsChanged returns. A reset or a new rebuild drops the steps still to come.
// Meanwhile the lines present are the catalog's first rows in order and lines not added yet are
// unticked (every fill starts clear), so commands that read the ticks act on what the user could
// tick.
class CCatalogLists : public ICatalogObserver {
  public:
    static constexpr size_t kRowsPerStep = 5000;

    CCatalogLists(const CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files,
                  std::function<void()> onReset = {});
    void OnCatalogReset() override;
    void OnRowsChanged() override;

    // Lines still to be added.
    bool Filling() const { return m_NextStep.isActive(); }
    size_t RowsPerStep() const { return m_nRowsPerStep; }
    void SetRowsPerStep(size_t rows) { m_nRowsPerStep = rows == 0 ? 1 : rows; }

  private:
    // Adds up to RowsPerStep() lines; schedules the next step while rows are left.
    void FillStep();
    // The catalog's current entry and its group highlighted once their lines exist.
    void MarkCatalogCurrent();

    const CRecordingCatalog& m_Catalog;
    COrvexGroupListCtrl& m_Groups;
    COrvexFileListCtrl& m_Files;
    std::function<void()> m_fnOnReset;
    QTimer m_NextStep;
    size_t m_nRowsPerStep = kRowsPerStep;
    size_t m_nNextGroupRow = 0;
    size_t m_nNextFileRow = 0;
};
