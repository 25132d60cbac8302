// The file list (control 1028): one line per recording file of the catalog, in catalog order, so
// the line index is the entry index. A double click sends 0x0C0A with the line (-1 below the last).
#pragma once

#include <cstdint>
#include <string>

#include "orvex_list_ctrl.h"

class CRecordingCatalog;

class COrvexFileListCtrl : public COrvexListCtrl {
    Q_OBJECT

  public:
    explicit COrvexFileListCtrl(QWidget* parent = nullptr);

    // "G%d-%d", the name without its first five characters, start and end time of day, " %lld MB",
    // the folder.
    bool AddFileLine(int group, int position, const std::string& fileName, const std::string& folder,
                     int64_t startTime, uint32_t durationMs, uint64_t size, int lockMarks);
    // Every file row of the catalog, in order (lines deleted first).
    void Fill(const CRecordingCatalog& catalog);
};
