// Reader of the camera's RIFF AVI recordings: start time, length, picture size and the location of
// the GPS and G-sensor blocks, which the camera stores as chunks of its own (telemetry layout 0).
#pragma once

#include <cstdint>
#include <filesystem>

#include "video_parser.h"

class BoundedFile;

class COrvexAviParser : public COrvexVideoParser {
  public:
    int Parse(const std::filesystem::path& path) override;

  private:
    void ResetState();
    int Walk(BoundedFile& file);
    uint64_t OnList(BoundedFile& file, uint64_t pos);
    uint64_t OnMainHeader(BoundedFile& file, uint64_t pos);
    uint64_t OnStreamHeader(BoundedFile& file, uint64_t pos);
    uint64_t OnGpsBlock(BoundedFile& file, uint64_t pos);
    uint64_t OnIdit(BoundedFile& file, uint64_t pos);
    void StoreResults() const;

    bool m_bMarker = false;    // "JTDD" in the main header: written by this camera
    bool m_bTruncated = false; // the "movi" list runs past the end of the file
};
