#include "catalog_lists.h"

#include "orvex_file_list_ctrl.h"
#include "orvex_group_list_ctrl.h"
#include "recording_catalog.h"

void FillLists(const CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files) {
    groups.Fill(catalog);
    files.Fill(catalog);
}

bool MarkCurrent(CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files,
                 int entry) {
    if (entry < 0 || static_cast<size_t>(entry) >= catalog.FileRows().size()) return false;
    catalog.SetCurrentEntry(entry);
    groups.MarkCurrentLine(catalog.CurrentGroup());
    files.MarkCurrentLine(entry);
    return true;
}

bool MarkCurrentGroup(CRecordingCatalog& catalog, COrvexGroupListCtrl& groups, COrvexFileListCtrl& files,
                      int group) {
    if (group < 0 || static_cast<size_t>(group) >= catalog.GroupRows().size()) return false;
    const GroupRow& row = catalog.GroupRows()[static_cast<size_t>(group)];
    if (row.m_nFileCount <= 0) return false;
    return MarkCurrent(catalog, groups, files, row.m_nFirstEntry);
}

CCatalogLists::CCatalogLists(const CRecordingCatalog& catalog, COrvexGroupListCtrl& groups,
                             COrvexFileListCtrl& files, std::function<void()> onReset)
    : m_Catalog(catalog), m_Groups(groups), m_Files(files), m_fnOnReset(std::move(onReset)) {}

void CCatalogLists::OnCatalogReset() {
    m_Groups.DeleteAllLines();
    m_Files.DeleteAllLines();
    if (m_fnOnReset) m_fnOnReset();
}

// Rows are rebuilt after file operations too: the recording being played keeps its mark.
void CCatalogLists::OnRowsChanged() {
    FillLists(m_Catalog, m_Groups, m_Files);
    const int entry = m_Catalog.CurrentEntry();
    if (entry < 0 || static_cast<size_t>(entry) >= m_Catalog.FileRows().size()) return;
    m_Files.MarkCurrentLine(entry);
    m_Groups.MarkCurrentLine(m_Catalog.FileRows()[static_cast<size_t>(entry)].m_nGroup);
}
