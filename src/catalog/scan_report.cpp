#include "scan_report.h"

#include <cstdio>

#include "json_text.h"
#include "list_columns.h"
#include "recording_name.h"

namespace {

class JsonObject {
  public:
    explicit JsonObject(std::string& out) : m_out(out) { m_out += '{'; }
    ~JsonObject() { m_out += '}'; }
    JsonObject& Key(const char* key) {
        if (!m_first) m_out += ',';
        m_first = false;
        m_out += '"';
        m_out += key;
        m_out += "\":";
        return *this;
    }
    void Number(long long value) { m_out += std::to_string(value); }
    void Unsigned(unsigned long long value) { m_out += std::to_string(value); }
    void Bool(bool value) { m_out += value ? "true" : "false"; }
    void String(const std::string& value) { m_out += JsonString(value); }

  private:
    std::string& m_out;
    bool m_first = true;
};

void AppendEntry(std::string& out, const RecordingEntry& entry) {
    JsonObject o(out);
    const MediaInfo& info = entry.m_MediaInfo;
    o.Key("name").String(entry.m_strFileName);
    o.Key("folder").String(entry.m_strFolder);
    o.Key("subfolder").String(entry.m_strSubfolder);
    o.Key("start_time").Number(info.m_llStartTime);
    o.Key("duration_ms").Unsigned(info.m_uDurationMs);
    o.Key("width").Unsigned(info.m_wWidth);
    o.Key("height").Unsigned(info.m_wHeight);
    o.Key("layout").Unsigned(info.m_uLayout);
    o.Key("file_size").Unsigned(info.m_ullFileSize);
    o.Key("lock").Number(entry.m_nLockMarks & 0xFF);
    o.Key("new_group").Number(entry.m_nNewGroup);
    o.Key("rear").Bool(IsRearRecording(entry.m_strFileName));
}

void AppendGroup(std::string& out, const CRecordingCatalog& catalog, const GroupRow& row) {
    const RecordingEntry& first = catalog.Entries()[static_cast<size_t>(row.m_nFirstEntry)];
    JsonObject o(out);
    o.Key("group").Number(row.m_nGroup);
    o.Key("first").Number(row.m_nFirstEntry);
    o.Key("count").Number(row.m_nFileCount);
    o.Key("length_ms").Number(row.m_llLengthMs);
    o.Key("size").Unsigned(row.m_ullSize);
    o.Key("lock").Number(row.m_byLockMarks);
    o.Key("resolution").String(ResolutionName(first.m_MediaInfo.m_wWidth, first.m_MediaInfo.m_wHeight));
    o.Key("start").String(GroupStartText(first.m_MediaInfo.m_llStartTime));
}

void AppendFile(std::string& out, const CRecordingCatalog& catalog, const FileRow& row) {
    const size_t index = static_cast<size_t>(row.m_nEntry);
    const RecordingEntry& entry = catalog.Entries()[index];
    const int64_t start = entry.m_MediaInfo.m_llStartTime;
    JsonObject o(out);
    o.Key("group").Number(row.m_nGroup);
    o.Key("pos").Number(row.m_nPosition);
    o.Key("entry").Number(row.m_nEntry);
    o.Key("size").Unsigned(row.m_ullSize);
    o.Key("duration_ms").Unsigned(row.m_uDurationMs);
    o.Key("id").String(FileIdText(row.m_nGroup, row.m_nPosition));
    o.Key("name").String(FileNameColumnText(entry.m_strFileName));
    o.Key("start").String(TimeOfDayText(start));
    o.Key("end").String(EndTimeText(start, row.m_uDurationMs));
    o.Key("size_text").String(MegabytesText(row.m_ullSize));
    o.Key("folder").String(catalog.EntryFolderText(index));
}

template <typename Item, typename Append>
void AppendArray(std::string& out, const std::vector<Item>& items, Append append) {
    out += '[';
    for (size_t i = 0; i < items.size(); ++i) {
        if (i) out += ',';
        append(items[i]);
    }
    out += ']';
}

} // namespace

std::string ScanReportJson(const CRecordingCatalog& catalog) {
    std::string out;
    {
        JsonObject o(out);
        o.Key("files_visited").Number(catalog.FilesVisited());
        o.Key("has_gps_blocks").Bool(catalog.HasGpsBlocks());
        o.Key("entries");
        AppendArray(out, catalog.Entries(), [&](const RecordingEntry& e) { AppendEntry(out, e); });
        o.Key("groups");
        AppendArray(out, catalog.GroupRows(), [&](const GroupRow& r) { AppendGroup(out, catalog, r); });
        o.Key("files");
        AppendArray(out, catalog.FileRows(), [&](const FileRow& r) { AppendFile(out, catalog, r); });
    }
    return out;
}
