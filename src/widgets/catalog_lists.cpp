#include "catalog_lists.h"

#include <algorithm>

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
    : m_Catalog(catalog), m_Groups(groups), m_Files(files), m_fnOnReset(std::move(onReset)) {
    m_NextStep.setSingleShot(true);
    m_NextStep.setInterval(0);
    QObject::connect(&m_NextStep, &QTimer::timeout, [this] { FillStep(); });
}

void CCatalogLists::OnCatalogReset() {
    m_NextStep.stop();
    m_Groups.DeleteAllLines();
    m_Files.DeleteAllLines();
    if (m_fnOnReset) m_fnOnReset();
}

// Rows are rebuilt after file operations too: the recording being played keeps its mark.
void CCatalogLists::OnRowsChanged() {
    m_NextStep.stop();
    m_Groups.DeleteAllLines();
    m_Files.DeleteAllLines();
    m_nNextGroupRow = 0;
    m_nNextFileRow = 0;
    FillStep();
}

void CCatalogLists::FillStep() {
    size_t budget = m_nRowsPerStep;
    const size_t groupRows = m_Catalog.GroupRows().size();
    if (m_nNextGroupRow < groupRows) {
        const size_t added = m_Groups.AppendRows(m_Catalog, m_nNextGroupRow, budget);
        m_nNextGroupRow += added;
        budget -= added;
    }
    const size_t fileRows = m_Catalog.FileRows().size();
    if (budget > 0 && m_nNextFileRow < fileRows)
        m_nNextFileRow += m_Files.AppendRows(m_Catalog, m_nNextFileRow, budget);
    MarkCatalogCurrent();
    if (m_nNextGroupRow < groupRows || m_nNextFileRow < fileRows) m_NextStep.start();
}

void CCatalogLists::MarkCatalogCurrent() {
    const int entry = m_Catalog.CurrentEntry();
    if (entry < 0 || static_cast<size_t>(entry) >= m_Catalog.FileRows().size()) return;
    if (entry < m_Files.LineCount() && m_Files.CurrentLine() != entry) m_Files.MarkCurrentLine(entry);
    const int group = m_Catalog.FileRows()[static_cast<size_t>(entry)].m_nGroup;
    if (group >= 0 && group < m_Groups.LineCount() && m_Groups.CurrentLine() != group)
        m_Groups.MarkCurrentLine(group);
}
