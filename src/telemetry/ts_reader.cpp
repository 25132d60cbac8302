#include "ts_reader.h"

#include <algorithm>
#include <vector>

#include "bounded_file.h"
#include "trace.h"

namespace {
constexpr uint64_t kTailPackets = 3000; // the catalog probe reads only this many packets at the end
// Packets per read. The catalog probe reads the head in small steps (the picture size is usually
// in the first few packets); the tail and the collecting walk read in large ones.
constexpr uint64_t kHeadBlockPackets = 32;
constexpr uint64_t kBlockPackets = 1024;
} // namespace

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

    BoundedFile file;
    if (!file.Open(path) || file.Size() == 0) return -1;
    m_ullFileSize = file.Size();

    TsDemuxContext ctx;
    ctx.m_ullBufferCap = m_ullFileSize;
    if (collect && m_pMediaInfo)
        m_pMediaInfo->m_Chunks2.clear(); // a second collection must not list the records twice
    if (m_pCaptured) *m_pCaptured = CapturedRecords{};
    try {
        Walk(file, collect, ctx);
    } catch (const FileReadError&) {
        // The file shrank or its card went away during the walk: nothing it found counts.
        if (collect && m_pMediaInfo) m_pMediaInfo->m_Chunks2.clear();
        if (m_pCaptured) *m_pCaptured = CapturedRecords{};
        return -1;
    }
    return Finish(ctx, status.m_mtime);
}

void COrvexTsParser::Walk(BoundedFile& file, bool collect, TsDemuxContext& ctx) {
    const uint64_t packets = file.Size() / kTsPacketSize;
    bool jumpDecided = false;
    std::vector<uint8_t> block;
    uint64_t blockFirst = 0, blockCount = 0; // packets held in `block`
    for (uint64_t k = 0; k < packets; ++k) {
        if (k - blockFirst >= blockCount) {
            const uint64_t step = collect || jumpDecided ? kBlockPackets : kHeadBlockPackets;
            blockFirst = k;
            blockCount = std::min(step, packets - k);
            block.resize(static_cast<size_t>(blockCount * kTsPacketSize));
            file.ReadBlockAt(k * kTsPacketSize, block.data(), block.size());
        }
        uint32_t payloadOffset = 0;
        const uint64_t offset = k * kTsPacketSize;
        DemuxPacket(ctx, block.data() + (k - blockFirst) * kTsPacketSize, payloadOffset);
        ++m_ullPacketsVisited;
        if (collect) {
            if (m_pMediaInfo && payloadOffset != 0) {
                auto& chunks = m_pMediaInfo->m_Chunks2;
                // The 148-byte record begins 2 bytes into the PES payload.
                chunks.push_back({static_cast<int32_t>(chunks.size()), offset + payloadOffset + 2});
                if (m_pCaptured) Capture(block, blockFirst * kTsPacketSize, chunks.back().offset, file.Size());
            }
        } else if (ctx.m_bVideoFound && !jumpDecided) {
            // Once the picture size is known only the last time stamps matter: one jump, forward only.
            jumpDecided = true;
            if (packets > kTailPackets && packets - kTailPackets > k + 1) {
                k = packets - kTailPackets - 1;
                blockCount = 0; // the next packet comes from a fresh read at the tail
            }
        }
    }
}

void COrvexTsParser::Capture(const std::vector<uint8_t>& block, uint64_t blockPos, uint64_t recordPos,
                             uint64_t fileSize) {
    constexpr size_t kSize = CapturedRecords::kRecordSize;
    CapturedRecords& out = *m_pCaptured;
    const size_t at = out.bytes.size();
    out.bytes.resize(at + kSize);
    const bool inBlock = recordPos >= blockPos && recordPos - blockPos <= block.size() &&
                         block.size() - (recordPos - blockPos) >= kSize && recordPos + kSize <= fileSize;
    out.present.push_back(inBlock ? 1 : 0);
    if (inBlock) std::copy_n(block.data() + (recordPos - blockPos), kSize, out.bytes.data() + at);
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
