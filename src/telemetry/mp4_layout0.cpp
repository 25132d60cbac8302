// COrvex3gpParser: layout 0, GPS and G-sensor blocks in top-level (or movie-level) boxes.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "layout0_blocks.h"
#include "mp4_boxes.h"
#include "mp4_reader.h"

namespace {
constexpr uint32_t kLayout0VehicleRate = 5;
} // namespace

int COrvex3gpParser::ParseLayout0() {
    uint64_t pos = 0;
    uint32_t payload = 0;
    if (ReadBoxHeader(pos, payload) != FourCC("ftyp")) return -1;
    pos += payload;
    while (pos < m_ullFileSize) {
        const uint32_t type = ReadBoxHeader(pos, payload);
        if (type == FourCC("moov")) {
            Layout0Movie(pos, payload);
            continue; // its children are walked as if they stood at the top level
        }
        if (type == FourCC("skip"))
            m_bSkipMarker = m_file.ReadByte(pos + payload - 1) == 0;
        else if (type == FourCC("gps0"))
            Layout0GpsBlock(pos, payload);
        else if (type == FourCC("gsen")) {
            m_ullGsensorOffset = pos;
            m_uGsensorSize = ClipBlockSize(m_file, pos, payload);
        } else if (type == FourCC("gpsa"))
            m_file.ReadAt(pos, m_GpsAttr, sizeof m_GpsAttr);
        else if (type == FourCC("gsea"))
            m_file.ReadAt(pos, m_GsensorAttr, sizeof m_GsensorAttr);
        else if (type == FourCC("IDIT"))
            Layout0Idit(pos, payload);
        pos += payload;
    }
    m_file.Close();
    if (!m_bStartTimeKnown) m_llStartTime = 0;
    if (m_wWidth == 0 || m_wHeight == 0 || m_uDurationMs == 0) {
        m_wWidth = 0;
        m_uDurationMs = 0;
        return -1;
    }
    if (!m_bSkipMarker) return -1;
    m_llDurationSec = 0;
    m_uVehicleRate = kLayout0VehicleRate;
    WriteMediaInfo();
    return 0;
}

void COrvex3gpParser::Layout0Movie(uint64_t moovPos, uint32_t moovPayload) {
    uint64_t pos = moovPos;
    MovieHeader header;
    if (FindBoxPath("trakmdiamdhd", pos, moovPayload) != 0 && ReadMovieHeaderAt(pos, header))
        m_uDurationMs = header.durationMs;
    ReadPictureSize(moovPos, moovPayload, true);
}

void COrvex3gpParser::Layout0GpsBlock(uint64_t pos, uint32_t payload) {
    m_ullGpsOffset = pos;
    m_uGpsSize = ClipBlockSize(m_file, pos, payload);
    if (m_bStartTimeKnown) return;
    if (const auto start = GpsBlockStartTime(m_file, pos, m_uGpsSize, m_GpsAttr[0])) {
        m_llStartTime = *start;
        m_bStartTimeKnown = true;
    }
}

void COrvex3gpParser::Layout0Idit(uint64_t pos, uint32_t payload) {
    char text[kIditTextMax];
    const size_t length = std::min<size_t>(payload, kIditTextMax);
    m_file.ReadAt(pos, text, length);
    // An unreadable date withdraws whatever set the start time before.
    const auto start = IditStartTime(text, length);
    m_llStartTime = start.value_or(0);
    m_bStartTimeKnown = start.has_value();
}
