// The group list (control 1029): one line per group of recordings. A double click sends 0x0C09 with
// the line (-1 below the last). It also tells the file operations which lines are marked.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "catalog_view.h"
#include "orvex_list_ctrl.h"

class CRecordingCatalog;

class COrvexGroupListCtrl : public COrvexListCtrl, public IGroupLineState {
    Q_OBJECT

  public:
    explicit COrvexGroupListCtrl(QWidget* parent = nullptr);

    // "G%d", the resolution name, "%Y-%m-%d %H:%M:%S", " %lld s ", " %lld MB".
    bool AddGroupLine(int group, const std::string& resolution, int64_t startTime, int64_t lengthMs,
                      uint64_t totalSize, int lockMarks);
    // Every group row of the catalog, in order (lines deleted first).
    void Fill(const CRecordingCatalog& catalog);
    // Lines for the group rows [first, first + count) of the catalog, after the last line (rows past
    // the catalog's end are left out). The number of rows gone through.
    size_t AppendRows(const CRecordingCatalog& catalog, size_t first, size_t count);

    bool IsGroupLineSelected(size_t line) const override;
    bool IsGroupLineTicked(size_t line) const override;

  protected:
    QString CellText(int line, int column) const override;
    void ForgetLines() override;

  private:
    struct GroupLine {
        int group;
        int64_t startTime;
        int64_t lengthMs;
        uint64_t totalSize;
        std::string resolution;
    };
    std::vector<GroupLine> m_Lines;
};
