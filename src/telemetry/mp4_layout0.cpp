// COrvex3gpParser: layout 0, GPS and G-sensor blocks in top-level (or movie-level) boxes.
#include <cstdio>
#include <cstring>

#include "local_time.h"
#include "mp4_boxes.h"
#include "mp4_reader.h"

namespace {
constexpr uint32_t kRawFixSize = 32;
constexpr size_t kIditBuffer = 64;
constexpr uint32_t kLayout0VehicleRate = 5;

bool PlausibleDateTime(int year, int month, int day, int hour, int minute, int second) {
    return month >= 1 && month <= 12 && day >= 1 && day <= 31 && hour >= 0 && hour <= 23 && minute >= 0 &&
           minute <= 59 && second >= 0 && second <= 59 && year >= 0;
}
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
            m_uGsensorSize = payload;
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
    m_uGpsSize = payload;
    const uint32_t rate = m_GpsAttr[0] == 0 ? 1 : m_GpsAttr[0];
    const uint32_t records = payload / kRawFixSize;
    for (uint32_t i = 0; i < records && !m_bStartTimeKnown; ++i) {
        GpsFix raw;
        m_file.ReadAt(pos + uint64_t{i} * kRawFixSize, &raw, sizeof raw);
        if (raw.year == 0 ||
            !PlausibleDateTime(raw.year, raw.month, raw.day, raw.hour, raw.minute, raw.second))
            continue;
        m_llStartTime =
            LocalWallClockToTime(raw.year + 2000, raw.month, raw.day, raw.hour, raw.minute, raw.second) -
            static_cast<int64_t>(i / rate);
        m_bStartTimeKnown = true;
    }
}

void COrvex3gpParser::Layout0Idit(uint64_t pos, uint32_t payload) {
    // The text never exceeds the camera's 64-byte field; longer payloads are cut there.
    char text[kIditBuffer + 1] = {};
    m_file.ReadAt(pos, text, std::min<size_t>(payload, kIditBuffer));
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const bool parsed =
        std::sscanf(text, "%04d-%02d-%02d %02d:%02d:%02d", &year, &month, &day, &hour, &minute, &second) == 6;
    if (parsed && year > 1899 && PlausibleDateTime(year, month, day, hour, minute, second)) {
        m_llStartTime = LocalWallClockToTime(year, month, day, hour, minute, second);
        m_bStartTimeKnown = true;
    } else {
        m_llStartTime = 0; // an unreadable date withdraws whatever set the start time before
        m_bStartTimeKnown = false;
    }
}
