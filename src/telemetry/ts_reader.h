// Reader of the camera's MPEG transport stream recordings. Picture size from the H.264 sequence
// parameter set, length from the time stamps; the telemetry travels as layout-2 records in PES packets
// of PID 258.
#pragma once

#include <cstdint>
#include <filesystem>

#include "ts_demux.h"
#include "video_parser.h"

class BoundedFile;

class COrvexTsParser : public COrvexVideoParser {
  public:
    int Parse(const std::filesystem::path& path) override { return ProbeTransportStream(path, false); }

    // collect = false: catalog probe (beginning and the last 3000 packets only).
    // collect = true: the whole file; every telemetry PES start adds a layout-2 ChunkRef.
    int ProbeTransportStream(const std::filesystem::path& path, bool collect);

    // Packets the last probe walked, for measurements.
    uint64_t PacketsVisited() const { return m_ullPacketsVisited; }

  private:
    void ResetState();
    void Walk(BoundedFile& file, bool collect, TsDemuxContext& ctx);
    int Finish(const TsDemuxContext& ctx, int64_t mtime);

    uint64_t m_ullPacketsVisited = 0;
};
