// The two list views as the catalog's view: filled from its rows, emptied with it, and the line of
// the recording being played marked in both.
#pragma once

#include <functional>

#include "catalog_view.h"

class CRecordingCatalog;
class COrvexFileListCtrl;
class COrvexGroupListCtrl;

// Group lines, then file lines, from the catalog's rows (check boxes start clear).
void FillLists(const CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files);

// Makes `entry` the catalog's current entry and moves the playing-line highlight of both lists to
// it and to its group, scrolling both into view. False (nothing changed) when `entry` is not a file
// line. The previous lines may be gone after a rescan: then there is nothing to un-highlight.
bool MarkCurrent(CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files,
                 int entry);

// The same for a group: its first file becomes the current entry. False for no such group.
bool MarkCurrentGroup(CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files,
                      int group);

// The catalog observer of the main window: empties and fills the lists on the UI thread (the catalog
// is only ever changed there); a refill keeps the mark on the catalog's current entry. onReset drops the open
// recording's telemetry (track, G-sensor series and view, vehicle samples); it may be empty.
class CCatalogLists : public ICatalogObserver {
  public:
    CCatalogLists(const CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files,
                  std::function<void()> onReset = {});
    void OnCatalogReset() override;
    void OnRowsChanged() override;

  private:
    const CRecordingCatalog& m_Catalog;
    COrvexGroupListCtrl& m_Groups;
    COrvexFileListCtrl& m_Files;
    std::function<void()> m_fnOnReset;
};
