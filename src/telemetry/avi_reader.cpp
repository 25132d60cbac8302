#include "avi_reader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bounded_file.h"
#include "layout0_blocks.h"

namespace {

constexpr uint64_t kEnd = UINT64_MAX; // a header could not be read whole: the walk stops

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool Is(const uint8_t* id, const char* fourcc) {
    return std::memcmp(id, fourcc, 4) == 0;
}

bool ReadU32(BoundedFile& file, uint64_t pos, uint32_t& value) {
    uint8_t b[4];
    if (!file.TryReadAt(pos, b, 4)) return false;
    value = Le32(b);
    return true;
}

// Copies up to `count` bytes at `pos` into a zeroed `out`, as many as the file holds.
void ReadClipped(BoundedFile& file, uint64_t pos, uint8_t* out, size_t count) {
    std::memset(out, 0, count);
    const uint64_t n = std::min<uint64_t>(count, file.Remaining(pos));
    if (n > 0) file.TryReadAt(pos, out, static_cast<size_t>(n));
}

// Position after a chunk's data. RIFF pads odd-sized data with one zero byte; a non-zero byte there
// is taken as the start of the next chunk, since some writers leave the padding out.
uint64_t AfterData(BoundedFile& file, uint64_t data, uint32_t size) {
    uint64_t next = data + size;
    uint8_t pad = 1;
    if ((size & 1) != 0 && file.TryReadAt(next, &pad, 1) && pad == 0) ++next;
    return next;
}

} // namespace

void COrvexAviParser::ResetState() {
    ResetReaderState();
    m_bMarker = false;
    m_bTruncated = false;
}

int COrvexAviParser::Parse(const std::filesystem::path& path) {
    ResetState();
    BoundedFile file;
    if (!file.Open(path) || file.Size() == 0) return -1;
    if (m_pFileStatus) ReadFileStatus(path, *m_pFileStatus);
    m_ullFileSize = file.Size();
    try {
        uint8_t riff[8];
        if (!file.TryReadAt(0, riff, sizeof riff) || !Is(riff, "RIFF")) return -1;
        return Walk(file);
    } catch (const FileReadError&) {
        return -1; // the file shrank or its card went away while it was read
    }
}

int COrvexAviParser::Walk(BoundedFile& file) {
    uint64_t pos = 8;
    while (pos < m_ullFileSize) {
        uint8_t id[4];
        if (!file.TryReadAt(pos, id, 4)) break;
        pos += 4;
        uint32_t size = 0;
        if (Is(id, "LIST")) {
            pos = OnList(file, pos);
        } else if (Is(id, "avih")) {
            pos = OnMainHeader(file, pos);
        } else if (Is(id, "strh")) {
            pos = OnStreamHeader(file, pos);
        } else if (Is(id, "idx1") || Is(id, "JUNK") || Is(id, "indx")) {
            pos = ReadU32(file, pos, size) ? AfterData(file, pos + 4, size) : kEnd;
        } else if (Is(id, "gps0")) {
            pos = OnGpsBlock(file, pos);
        } else if (Is(id, "gsen")) {
            if (!ReadU32(file, pos, size)) break;
            m_ullGsensorOffset = pos + 4;
            m_uGsensorSize = ClipBlockSize(file, pos + 4, size);
            pos = AfterData(file, pos + 4, size);
        } else if (Is(id, "gpsa") || Is(id, "gsea")) {
            if (!ReadU32(file, pos, size)) break;
            uint8_t attr[4];
            ReadClipped(file, pos + 4, attr, std::min<uint32_t>(size, 4));
            std::memcpy(Is(id, "gpsa") ? m_GpsAttr : m_GsensorAttr, attr, std::min<uint32_t>(size, 4));
            pos = AfterData(file, pos + 4, size);
        } else if (Is(id, "IDIT")) {
            pos = OnIdit(file, pos);
        }
        // Anything else: the walk steps on by the identifier (the "AVI " form type, unknown data).
    }

    const bool ok = m_wWidth != 0 && m_wHeight != 0 && m_uDurationMs != 0 && m_bMarker && !m_bTruncated;
    if (!ok) return -1;
    if (!m_bStartTimeKnown) m_llStartTime = 0;
    StoreResults();
    return 0;
}

uint64_t COrvexAviParser::OnList(BoundedFile& file, uint64_t pos) {
    uint32_t size = 0;
    uint8_t type[4];
    if (!ReadU32(file, pos, size) || !file.TryReadAt(pos + 4, type, 4)) return kEnd;
    if (Is(type, "hdrl") || Is(type, "strl") || Is(type, "avih"))
        return pos + 8; // entered: the walk goes on with the first sub-chunk
    const uint64_t end = pos + 4 + uint64_t(size);
    if (Is(type, "movi") && end > m_ullFileSize) m_bTruncated = true;
    return AfterData(file, pos + 4, size);
}

uint64_t COrvexAviParser::OnMainHeader(BoundedFile& file, uint64_t pos) {
    uint32_t size = 0;
    if (!ReadU32(file, pos, size)) return kEnd;
    uint8_t header[56];
    const uint32_t n = std::min<uint32_t>(size, sizeof header);
    ReadClipped(file, pos + 4, header, n);
    m_bMarker = n >= 44 && Is(header + 40, "JTDD");
    // The camera's own arithmetic: a 32-bit product that wraps for very long recordings.
    const uint32_t product = Le32(header) * Le32(header + 16);
    m_uDurationMs = product / 1000;
    m_llDurationSec = product / 1000 / 1000;
    return AfterData(file, pos + 4, size);
}

uint64_t COrvexAviParser::OnStreamHeader(BoundedFile& file, uint64_t pos) {
    uint32_t size = 0;
    if (!ReadU32(file, pos, size)) return kEnd;
    uint8_t header[64];
    ReadClipped(file, pos + 4, header, std::min<uint32_t>(size, sizeof header));
    uint64_t next = AfterData(file, pos + 4, size);

    uint8_t id[4];
    uint32_t formatSize = 0;
    if (!file.TryReadAt(next, id, 4) || !Is(id, "strf") || !ReadU32(file, next + 4, formatSize)) return next;
    if (Is(header, "vids")) {
        uint8_t bitmap[40];
        ReadClipped(file, next + 8, bitmap, std::min<uint32_t>(formatSize, sizeof bitmap));
        m_wWidth = static_cast<uint16_t>(Le32(bitmap + 4) & 0xFFFF);
        // A negative height marks a top-down bitmap; the picture is as tall either way.
        const int64_t height = static_cast<int32_t>(Le32(bitmap + 8));
        m_wHeight = static_cast<uint16_t>(std::llabs(height) & 0xFFFF);
        return AfterData(file, next + 8, formatSize);
    }
    if (Is(header, "auds")) return AfterData(file, next + 8, formatSize);
    return next;
}

uint64_t COrvexAviParser::OnGpsBlock(BoundedFile& file, uint64_t pos) {
    uint32_t size = 0;
    if (!ReadU32(file, pos, size)) return kEnd;
    const uint64_t data = pos + 4;
    m_ullGpsOffset = data;
    m_uGpsSize = ClipBlockSize(file, data, size);
    if (!m_bStartTimeKnown) {
        if (const auto start = GpsBlockStartTime(file, data, m_uGpsSize, m_GpsAttr[0])) {
            m_llStartTime = *start;
            m_bStartTimeKnown = true;
        }
    }
    return AfterData(file, data, size);
}

uint64_t COrvexAviParser::OnIdit(BoundedFile& file, uint64_t pos) {
    uint32_t size = 0;
    if (!ReadU32(file, pos, size)) return kEnd;
    if (size >= m_ullFileSize) {
        // A size no file of this length can hold: the time counts as known, unset.
        m_bStartTimeKnown = true;
        return pos + 4;
    }
    char text[kIditTextMax];
    const size_t length = std::min<size_t>(size, kIditTextMax);
    ReadClipped(file, pos + 4, reinterpret_cast<uint8_t*>(text), length);
    const auto start = IditStartTime(text, length);
    m_llStartTime = start.value_or(0);
    m_bStartTimeKnown = start.has_value();
    return AfterData(file, pos + 4, size);
}

// The layout and vehicle rate stay as they are: zero, layout 0, for a new catalog entry.
void COrvexAviParser::StoreResults() const {
    StoreReaderState();
}
