#include "ts_reader.h"

#include <algorithm>

#include "mapped_file.h"
#include "trace.h"

namespace {
constexpr uint64_t kTailPackets = 3000; // the catalog probe reads only this many packets at the end
}

void COrvexTsParser::ResetState() {
    ResetReaderState();
    m_ullPacketsVisited = 0;
}

int COrvexTsParser::ProbeTransportStream(const std::filesystem::path& path, bool collect) {
    ResetState();
    FileStatus status;
    if (!ReadFileStatus(path, status)) {
        Trace("=======>>> catch CFileException !! \r\n");
        return -1;
    }
    if (m_pFileStatus) *m_pFileStatus = status;

    CReadOnlyMapping file;
    if (!file.Open(path)) return -1;
    m_ullFileSize = file.Size();

    TsDemuxContext ctx;
    ctx.m_ullBufferCap = m_ullFileSize;
    if (collect && m_pMediaInfo)
        m_pMediaInfo->m_Chunks2.clear(); // a second collection must not list the records twice
    Walk(file, collect, ctx);
    return Finish(ctx, status.m_mtime);
}

void COrvexTsParser::Walk(const CReadOnlyMapping& file, bool collect, TsDemuxContext& ctx) {
    const uint8_t* data = file.Data();
    const uint64_t packets = file.Size() / kTsPacketSize;
    bool jumpDecided = false;
    // The catalog probe reads a little at both ends: without this hint every page fault would pull
    // in megabytes of read-ahead around it.
    file.Advise(collect ? CReadOnlyMapping::Access::kSequential : CReadOnlyMapping::Access::kRandom);
    for (uint64_t k = 0; k < packets; ++k) {
        uint32_t payloadOffset = 0;
        const uint64_t offset = k * kTsPacketSize;
        DemuxPacket(ctx, data + offset, payloadOffset);
        ++m_ullPacketsVisited;
        if (collect) {
            if (m_pMediaInfo && payloadOffset != 0) {
                auto& chunks = m_pMediaInfo->m_Chunks2;
                // The 148-byte record begins 2 bytes into the PES payload.
                chunks.push_back({static_cast<int32_t>(chunks.size()), offset + payloadOffset + 2});
            }
        } else if (ctx.m_bVideoFound && !jumpDecided) {
            // Once the picture size is known only the last time stamps matter: one jump, forward only.
            jumpDecided = true;
            if (packets > kTailPackets && packets - kTailPackets > k + 1) {
                k = packets - kTailPackets - 1;
                file.Advise(CReadOnlyMapping::Access::kWillNeed, (k + 1) * kTsPacketSize);
            }
        }
    }
}

int COrvexTsParser::Finish(const TsDemuxContext& ctx, int64_t mtime) {
    const TsStreamSlot* video = nullptr;
    for (const auto& slot : ctx.m_Slots)
        if (IsVideoStreamType(slot.m_byStreamType) && slot.m_Sps.size() >= 5) video = &slot;
    SequenceParameters sps;
    const bool parsed =
        video && ParseSequenceParameterSet(video->m_Sps.data() + 4, video->m_Sps.size() - 4, sps);
    if (parsed) {
        m_wWidth = static_cast<uint16_t>(sps.width);
        m_wHeight = static_cast<uint16_t>(sps.height);
        if (video->m_llFirstPts >= 0 && video->m_llMaxPts > video->m_llFirstPts)
            m_uDurationMs = static_cast<uint32_t>(
                std::min<int64_t>((video->m_llMaxPts - video->m_llFirstPts) / 90, UINT32_MAX));
        m_llStartTime = mtime - m_uDurationMs / 1000;
    }
    if (!parsed || m_wWidth == 0 || m_wHeight == 0 || m_uDurationMs == 0) {
        m_wWidth = 0;
        m_uDurationMs = 0;
        return -1;
    }
    // Transport streams carry layout-2 records at the camera's fixed rates.
    const uint8_t gps[4] = {5, 0, 0, 0}, gsensor[4] = {5, 8, 2, 1};
    std::copy(gps, gps + 4, m_GpsAttr);
    std::copy(gsensor, gsensor + 4, m_GsensorAttr);
    m_uVehicleRate = 5;
    StoreReaderState();
    StoreLayout(kLayoutVideMeta);
    return 0;
}
