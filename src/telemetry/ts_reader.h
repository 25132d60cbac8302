// Reader of the camera's MPEG transport stream recordings. Picture size from the H.264 sequence
// parameter set, length from the time stamps; the telemetry travels as layout-2 records in PES packets
// of PID 258.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "ts_demux.h"
#include "video_parser.h"

class BoundedFile;

// The 148-byte records a collecting walk saw in the blocks it read anyway, so loading them needs no
// second pass over the file: record i belongs to chunk i of the layout-2 list; present[i] is 0 for a
// record that did not lie whole inside one block (or inside the file), which must be read by itself.
struct CapturedRecords {
    static constexpr size_t kRecordSize = 148;
    std::vector<uint8_t> bytes; // kRecordSize per chunk
    std::vector<uint8_t> present;
};

class COrvexTsParser : public COrvexVideoParser {
  public:
    int Parse(const std::filesystem::path& path) override { return ProbeTransportStream(path, false); }

    // collect = false: catalog probe (beginning and the last 3000 packets only).
    // collect = true: the whole file; every telemetry PES start adds a layout-2 ChunkRef.
    int ProbeTransportStream(const std::filesystem::path& path, bool collect);

    // While collecting, also keep the records themselves in `records` (null: do not).
    void CaptureRecords(CapturedRecords* records) { m_pCaptured = records; }

    // Packets the last probe walked, for measurements.
    uint64_t PacketsVisited() const { return m_ullPacketsVisited; }

  private:
    void ResetState();
    void Walk(BoundedFile& file, bool collect, TsDemuxContext& ctx);
    int Finish(const TsDemuxContext& ctx, int64_t mtime);
    void Capture(const std::vector<uint8_t>& block, uint64_t blockPos, uint64_t recordPos, uint64_t fileSize);

    uint64_t m_ullPacketsVisited = 0;
    CapturedRecords* m_pCaptured = nullptr;
};
