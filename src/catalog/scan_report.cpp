#include "scan_report.h"

#include <cstdio>

#include "list_columns.h"
#include "recording_name.h"

namespace {

// Length of the valid UTF-8 sequence at `at`, 0 when the bytes there are not one.
size_t Utf8SequenceLength(const std::string& s, size_t at) {
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    size_t length;
    unsigned minimum;
    unsigned code;
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, minimum = 0x80, code = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, minimum = 0x800, code = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, minimum = 0x10000, code = lead & 0x07;
    else
        return 0;
    if (at + length > s.size()) return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return 0;
        code = (code << 6) | (byte(at + i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

void AppendEscaped(std::string& out, unsigned char c) {
    switch (c) {
    case '"':
        out += "\\\"";
        return;
    case '\\':
        out += "\\\\";
        return;
    case '\n':
        out += "\\n";
        return;
    case '\r':
        out += "\\r";
        return;
    case '\t':
        out += "\\t";
        return;
    default:
        break;
    }
    if (c < 0x20) {
        char code[8];
        std::snprintf(code, sizeof code, "\\u%04x", c);
        out += code;
    } else {
        out += static_cast<char>(c);
    }
}

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

std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (size_t at = 0; at < text.size();) {
        const size_t length = Utf8SequenceLength(text, at);
        if (length == 0) {
            out += "\\ufffd";
            ++at;
        } else if (length == 1) {
            AppendEscaped(out, static_cast<unsigned char>(text[at++]));
        } else {
            out.append(text, at, length);
            at += length;
        }
    }
    out += '"';
    return out;
}

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
