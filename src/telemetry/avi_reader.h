// Reader of the camera's RIFF AVI recordings: start time, length, picture size and the location of
// the GPS and G-sensor blocks, which the camera stores as chunks of its own (telemetry layout 0).
#pragma once

#include <cstdint>
#include <filesystem>

#include "video_parser.h"

class CReadOnlyMapping;

class COrvexAviParser : public COrvexVideoParser {
  public:
    void SetMediaInfo(MediaInfo* info) override { m_pMediaInfo = info; }
    int Parse(const std::filesystem::path& path) override;
    void SetFileStatus(FileStatus* status) override { m_pFileStatus = status; }

  private:
    void ResetState();
    int Walk(const CReadOnlyMapping& file);
    uint64_t OnList(const CReadOnlyMapping& file, uint64_t pos);
    uint64_t OnMainHeader(const CReadOnlyMapping& file, uint64_t pos);
    uint64_t OnStreamHeader(const CReadOnlyMapping& file, uint64_t pos);
    uint64_t OnGpsBlock(const CReadOnlyMapping& file, uint64_t pos);
    uint64_t OnIdit(const CReadOnlyMapping& file, uint64_t pos);
    void StoreResults() const;

    MediaInfo* m_pMediaInfo = nullptr;
    FileStatus* m_pFileStatus = nullptr;

    int64_t m_llStartTime = 0;
    bool m_bStartTimeKnown = false;
    int64_t m_llDurationSec = 0;
    uint32_t m_uDurationMs = 0;
    uint64_t m_ullGpsOffset = 0;
    uint32_t m_uGpsSize = 0;
    uint64_t m_ullGsensorOffset = 0;
    uint32_t m_uGsensorSize = 0;
    uint16_t m_wWidth = 0;
    uint16_t m_wHeight = 0;
    uint64_t m_ullFileSize = 0;
    uint8_t m_GpsAttr[4] = {};
    uint8_t m_GsensorAttr[4] = {};
    bool m_bMarker = false;    // "JTDD" in the main header: written by this camera
    bool m_bTruncated = false; // the "movi" list runs past the end of the file
};
