// COrvex3gpParser: entry point, classification of the file and the results.
#include "mp4_reader.h"

#include <cstdio>
#include <cstring>

#include "local_time.h"
#include "mp4_boxes.h"
#include "trace.h"

namespace {
constexpr int kMaxClassifiedBoxes = 101;
constexpr uint32_t kNamedUdtaMinPayload = 35;
constexpr uint64_t kSeconds1904To1970 = 2082844800;
} // namespace

uint32_t COrvex3gpParser::ReadBoxHeader(uint64_t& pos, uint32_t& payload) {
    return ::ReadBoxHeader(m_file, pos, payload);
}

uint32_t COrvex3gpParser::FindBox(uint32_t type, uint64_t& pos, uint64_t range) {
    return ::FindBox(m_file, type, pos, range);
}

uint32_t COrvex3gpParser::FindBoxPath(std::string_view path, uint64_t& pos, uint64_t range) {
    return ::FindBoxPath(m_file, path, pos, range);
}

uint32_t COrvex3gpParser::FindSampleEntry(uint64_t& pos, uint64_t range) {
    return ::FindSampleEntry(m_file, pos, range);
}

int64_t COrvex3gpParser::ReadMovieTime(uint64_t creationTime) {
    const int64_t seconds = static_cast<int64_t>(creationTime - kSeconds1904To1970);
    const std::string text = FormatLocalTime(seconds, "%Y-%m-%d %H:%M:%S");
    Trace("%lld: %s\n", static_cast<long long>(seconds), text.c_str());
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute, &second) != 6)
        return 0;
    // Times beyond what the calendar text can carry (64-bit headers) keep their plain value.
    if (year < 1 || year > 9999) return seconds;
    return LocalWallClockToTime(year, month, day, hour, minute, second);
}

void COrvex3gpParser::ResetState() {
    m_file.Close();
    ResetReaderState();
    m_path.clear();
    m_bSkipMarker = false; // a marker of the file before must not accept this one
    m_uLayout = 0;
    m_bVideoTest = false;
}

int COrvex3gpParser::Parse(const std::filesystem::path& path) {
    ResetState();
    m_path = path;
    int result = -1;
    try {
        Classify(path);
        if (m_uLayout >= kLayoutNone || !m_file.Open(path)) return -1;
        m_ullFileSize = m_file.Size();
        if (m_pFileStatus) ReadFileStatus(path, *m_pFileStatus);
        result = m_uLayout == kLayoutBlocks ? ParseLayout0() : ParseMovieLayout();
    } catch (const std::exception&) {
        if (m_uLayout == kLayoutVideMeta || m_uLayout == kLayoutTailBoxes)
            Trace("=======>>> catch CFileException !! \r\n");
        result = -1;
    }
    m_file.Close();
    return result;
}

void COrvex3gpParser::Classify(const std::filesystem::path& path) {
    m_uLayout = kLayoutNone;
    if (!m_file.Open(path)) return;
    m_ullFileSize = m_file.Size();
    bool iditSeen = false, wideSeen = false, skipSeen = false;
    uint64_t pos = 0;
    for (int i = 0; i < kMaxClassifiedBoxes && pos < m_ullFileSize && m_uLayout == kLayoutNone; ++i) {
        uint32_t payload = 0;
        const uint32_t type = ReadBoxHeader(pos, payload);
        if (type == FourCC("thm ") || type == FourCC("free"))
            m_uLayout = kLayoutJtdMeta;
        else if (type == FourCC("IDIT"))
            iditSeen = true;
        else if (type == FourCC("wide"))
            wideSeen = true;
        else if (type == FourCC("skip"))
            skipSeen = true;
        else if (type == FourCC("moov"))
            ClassifyMovie(pos, payload, wideSeen, skipSeen || iditSeen);
        pos += payload;
    }
    m_file.Close();
}

void COrvex3gpParser::ClassifyMovie(uint64_t moovPos, uint32_t moovPayload, bool wideSeen,
                                    bool skipOrIditSeen) {
    uint64_t pos = moovPos;
    if (!wideSeen) {
        if (FindBox(FourCC("gps "), pos, moovPayload) != 0)
            m_uLayout = kLayoutGpsBox;
        else if (skipOrIditSeen)
            m_uLayout = kLayoutBlocks;
        return;
    }
    const uint32_t udta = FindBox(FourCC("udta"), pos, moovPayload);
    if (udta == 0) return;
    bool named = false;
    if (udta >= kNamedUdtaMinPayload) {
        if (!m_file.Holds(pos, udta)) throw FileReadError("user data box beyond the end of the file");
        uint8_t head[8];
        m_file.ReadAt(pos, head, sizeof head);
        named = head[4] == 0xA9 && head[5] == 'n' && head[6] == 'a' && head[7] == 'm';
    }
    // A named movie decides layout 2; without a name the camera wrote layout 3.
    m_uLayout = named ? kLayoutVideMeta : kLayoutTailBoxes;
}

void COrvex3gpParser::WriteMediaInfo() {
    StoreReaderState();
    StoreLayout(m_uLayout);
}
