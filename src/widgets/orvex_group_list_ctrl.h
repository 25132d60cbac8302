// The group list (control 1029): one line per group of recordings. A double click sends 0x0C09 with
// the line (-1 below the last). It also tells the file operations which lines are marked.
#pragma once

#include <cstdint>
#include <string>

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

    bool IsGroupLineSelected(size_t line) const override;
    bool IsGroupLineTicked(size_t line) const override;
};
