// The file list (control 1028): one line per recording file of the catalog, in catalog order, so
// the line index is the entry index. A double click sends 0x0C0A with the line (-1 below the last).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
    // Lines for the file rows [first, first + count) of the catalog, after the last line (rows past
    // the catalog's end are left out). The number of rows gone through.
    size_t AppendRows(const CRecordingCatalog& catalog, size_t first, size_t count);

  protected:
    QString CellText(int line, int column) const override;
    void ForgetLines() override;

  private:
    // What a line is drawn from; the folder is an index into m_Folders (a card has few).
    struct FileLine {
        int group;
        int position;
        int64_t startTime;
        uint32_t durationMs;
        uint32_t folder;
        uint64_t size;
        std::string fileName;
    };
    void StoreLine(int group, int position, const std::string& fileName, const std::string& folder,
                   int64_t startTime, uint32_t durationMs, uint64_t size);
    uint32_t FolderIndex(const std::string& folder);

    std::vector<FileLine> m_Lines;
    std::vector<std::string> m_Folders;
};
