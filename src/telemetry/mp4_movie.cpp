// COrvex3gpParser: the movie-box layouts 1 to 4 (telemetry found through the movie box).
#include <cstring>

#include "local_time.h"
#include "mp4_boxes.h"
#include "mp4_reader.h"

namespace {
constexpr int kMaxTracks = 50;
constexpr uint64_t kSeconds1904To1970 = 2082844800;
constexpr uint8_t kFixedGsensorAttr[4] = {5, 8, 2, 1};
constexpr uint32_t kFixedVehicleRate = 5;
} // namespace

COrvex3gpParser::MovieLayout COrvex3gpParser::LayoutTable(std::vector<ChunkRef>* chunks1,
                                                          std::vector<ChunkRef>* chunks2) const {
    switch (m_uLayout) {
    case kLayoutJtdMeta:
        return {"JTD_", chunks1, 0, false, 5};
    case kLayoutVideMeta:
        return {"Vide", chunks2, 2, false, 5};
    case kLayoutTailBoxes:
        return {"Vide", nullptr, 0, false, 1};
    default:
        return {"Vide", nullptr, 0, true, 1};
    }
}

int COrvex3gpParser::ParseMovieLayout() {
    MediaInfo* info = m_pMediaInfo;
    const MovieLayout layout =
        LayoutTable(info ? &info->m_Chunks1 : nullptr, info ? &info->m_Chunks2 : nullptr);
    uint64_t pos = 0;
    uint32_t payload = 0;
    if (ReadBoxHeader(pos, payload) != FourCC("ftyp")) return -1;
    pos += payload;
    bool movieSeen = false;
    while (pos < m_ullFileSize) {
        const uint32_t type = ReadBoxHeader(pos, payload);
        if (type == FourCC("moov")) {
            AnalyseMovie(pos, payload, layout);
            movieSeen = true;
        }
        const bool skipped = m_uLayout != kLayoutJtdMeta || type == FourCC("ftyp") ||
                             type == FourCC("thm ") || type == FourCC("free") || type == FourCC("mdat") ||
                             type == FourCC("moov");
        if (skipped) // layout 1 enters every other box: its next header follows this one
            pos += payload;
        // Layout 4 needs nothing behind the media data once the movie box is known; a movie box
        // after the media data is still walked to.
        if (m_uLayout == kLayoutGpsBox && type == FourCC("mdat") && movieSeen) break;
    }
    return FinishMovieLayout(layout.gpsRate);
}

int COrvex3gpParser::FinishMovieLayout(uint8_t gpsRate) {
    if (!m_bVideoTest) return -1;
    if (m_wWidth == 0 || m_wHeight == 0 || m_uDurationMs == 0) {
        m_wWidth = 0;
        m_uDurationMs = 0;
        return -1;
    }
    m_ullGpsOffset = m_ullGsensorOffset = 0;
    m_uGpsSize = m_uGsensorSize = 0;
    m_llDurationSec = 0;
    std::memset(m_GpsAttr, 0, sizeof m_GpsAttr);
    m_GpsAttr[0] = gpsRate;
    std::memcpy(m_GsensorAttr, kFixedGsensorAttr, sizeof m_GsensorAttr);
    m_uVehicleRate = kFixedVehicleRate;
    WriteMediaInfo();
    return 0;
}

bool COrvex3gpParser::ReadMovieHeaderAt(uint64_t payloadPos, MovieHeader& header) {
    // Version 1 headers carry 64-bit times; version 0 (the cameras' usual form) 32-bit ones.
    uint8_t b[32];
    const bool v1 = m_file.ReadByte(payloadPos) == 1;
    m_file.ReadAt(payloadPos, b, v1 ? 32 : 20);
    const uint64_t creation = v1 ? LoadBE64(b + 4) : LoadBE32(b + 4);
    const uint32_t timeScale = LoadBE32(b + (v1 ? 20 : 12));
    const uint64_t duration = v1 ? LoadBE64(b + 24) : LoadBE32(b + 16);
    header.creationTime = creation;
    // A zero time scale gives no duration (and so a rejected file), never a division fault.
    header.durationMs = timeScale == 0 ? 0 : static_cast<uint32_t>(duration / timeScale * 1000u);
    return true;
}

void COrvex3gpParser::AnalyseMovie(uint64_t moovPos, uint32_t moovPayload, const MovieLayout& layout) {
    uint64_t pos = moovPos;
    MovieHeader header;
    if (FindBox(FourCC("mvhd"), pos, moovPayload) != 0 && ReadMovieHeaderAt(pos, header))
        m_uDurationMs = header.durationMs;
    AnalyseTracks(moovPos, moovPayload, layout);
    if (m_bVideoTest) ReadStartTime(moovPos, moovPayload);
    if (layout.gpsBox && m_pMediaInfo) {
        pos = moovPos;
        const uint32_t gps = FindBox(FourCC("gps "), pos, moovPayload);
        if (gps != 0) ReadChunkTable(pos, gps, 8, 0, m_pMediaInfo->m_Chunks4);
    }
    ReadPictureSize(moovPos, moovPayload, false);
}

void COrvex3gpParser::AnalyseTracks(uint64_t moovPos, uint32_t moovPayload, const MovieLayout& layout) {
    const uint64_t end = moovPos + moovPayload;
    uint64_t pos = moovPos;
    bool metaSeen = false;
    for (int i = 0; i < kMaxTracks && pos < end; ++i) {
        const uint32_t trak = FindBox(FourCC("trak"), pos, end - pos);
        if (trak == 0) break;
        const uint64_t trakPos = pos;
        pos += trak;
        uint64_t hdlrPos = trakPos;
        if (FindBoxPath("mdiahdlr", hdlrPos, trak) == 0) continue;
        uint8_t hdlr[29];
        m_file.ReadAt(hdlrPos, hdlr, sizeof hdlr);
        const uint32_t handler = LoadBE32(hdlr + 8);
        if (handler == FourCC("vide")) {
            // The last video track decides.
            m_bVideoTest = std::memcmp(hdlr + 25, layout.videoPrefix.data(), 4) == 0;
        } else if (handler == FourCC("meta") && layout.metaChunks && !metaSeen) {
            metaSeen = true;
            uint64_t stcoPos = trakPos;
            const uint32_t stco = m_bVideoTest ? FindBoxPath("mdiaminfstblstco", stcoPos, trak) : 0;
            if (stco != 0) ReadChunkTable(stcoPos, stco, 4, layout.metaOffsetAdd, *layout.metaChunks);
        }
    }
}

void COrvex3gpParser::ReadChunkTable(uint64_t pos, uint32_t payload, uint32_t entrySize, uint64_t offsetAdd,
                                     std::vector<ChunkRef>& list) {
    if (payload < 8) return;
    const uint32_t count = m_file.ReadBE32(pos + 4);
    const uint64_t tableBytes = uint64_t{entrySize} * count;
    if (8 + tableBytes > payload) return; // announces more entries than the box holds
    if (!m_file.Holds(pos + 8, tableBytes)) throw FileReadError("chunk table beyond the end of the file");
    std::vector<uint8_t> table(static_cast<size_t>(tableBytes));
    m_file.ReadAt(pos + 8, table.data(), table.size());
    list.reserve(list.size() + count);
    for (uint32_t i = 0; i < count; ++i)
        list.push_back({static_cast<int32_t>(i), LoadBE32(&table[size_t{i} * entrySize]) + offsetAdd});
}

void COrvex3gpParser::ReadStartTime(uint64_t moovPos, uint32_t moovPayload) {
    uint64_t pos = moovPos;
    MovieHeader header;
    if (FindBox(FourCC("mvhd"), pos, moovPayload) == 0 || !ReadMovieHeaderAt(pos, header)) return;
    if (header.creationTime >= kSeconds1904To1970) {
        m_llStartTime = ReadMovieTime(header.creationTime);
        return;
    }
    FileStatus status;
    if (ReadFileStatus(m_path, status)) m_llStartTime = status.m_ctime;
}

void COrvex3gpParser::ReadPictureSize(uint64_t moovPos, uint32_t moovPayload, bool avc1Only) {
    uint64_t pos = moovPos;
    const uint32_t stsd = FindBoxPath("trakmdiaminfstblstsd", pos, moovPayload);
    if (stsd == 0) return;
    uint8_t head[8];
    m_file.ReadAt(pos, head, sizeof head);
    if (LoadBE32(head + 4) == 0) return;
    uint64_t entryPos = pos + 8;
    const uint64_t range = stsd > 8 ? stsd - 8 : 0;
    const uint32_t entry =
        avc1Only ? FindBox(FourCC("avc1"), entryPos, range) : FindSampleEntry(entryPos, range);
    if (entry == 0) return;
    uint8_t visual[28];
    m_file.ReadAt(entryPos, visual, sizeof visual);
    m_wWidth = LoadBE16(visual + 24);
    m_wHeight = LoadBE16(visual + 26);
}
