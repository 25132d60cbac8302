// COrvex3gpParser: examines one MP4/MOV/3GP recording, recognises which of the five telemetry
// layouts it uses and fills the recording's MediaInfo. Telemetry records are not decoded here
// (see track_reader.h).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <vector>

#include "bounded_file.h"
#include "video_parser.h"

class COrvex3gpParser : public COrvexVideoParser {
  public:
    COrvex3gpParser() = default;

    int Parse(const std::filesystem::path& path) override;

    // The layout recognised by the last Parse (kLayoutNone when none).
    TelemetryLayout Layout() const { return m_uLayout; }

    // Box access on the open file (see mp4_boxes.h).
    uint32_t ReadBoxHeader(uint64_t& pos, uint32_t& payload);
    uint32_t FindBox(uint32_t type, uint64_t& pos, uint64_t range);
    uint32_t FindBoxPath(std::string_view path, uint64_t& pos, uint64_t range);
    uint32_t FindSampleEntry(uint64_t& pos, uint64_t range);
    // Creation time in seconds since 1904 -> start time (seconds since 1970, local wall clock).
    int64_t ReadMovieTime(uint64_t creationTime);

  private:
    struct MovieHeader {
        uint64_t creationTime = 0;
        uint32_t durationMs = 0;
    };
    struct MovieLayout {
        std::string_view videoPrefix;
        std::vector<ChunkRef>* metaChunks; // layouts 1 and 2: where the "meta" track's chunks go
        uint64_t metaOffsetAdd;
        bool gpsBox;     // layout 4: chunk list from the "gps " box
        uint8_t gpsRate; // GPS attributes byte 0 on success
    };

    void ResetState();
    void Classify(const std::filesystem::path& path);
    void ClassifyMovie(uint64_t moovPos, uint32_t moovPayload, bool wideSeen, bool skipOrIditSeen);
    int ParseMovieLayout();
    void AnalyseMovie(uint64_t moovPos, uint32_t moovPayload, const MovieLayout& layout);
    void AnalyseTracks(uint64_t moovPos, uint32_t moovPayload, const MovieLayout& layout);
    void ReadStartTime(uint64_t moovPos, uint32_t moovPayload);
    void ReadPictureSize(uint64_t moovPos, uint32_t moovPayload, bool avc1Only);
    bool ReadMovieHeaderAt(uint64_t payloadPos, MovieHeader& header);
    void ReadChunkTable(uint64_t pos, uint32_t payload, uint32_t entrySize, uint64_t offsetAdd,
                        std::vector<ChunkRef>& list);
    int FinishMovieLayout(uint8_t gpsRate);
    int ParseLayout0();
    void Layout0Movie(uint64_t moovPos, uint32_t moovPayload);
    void Layout0GpsBlock(uint64_t pos, uint32_t payload);
    void Layout0Idit(uint64_t pos, uint32_t payload);
    void WriteMediaInfo();
    MovieLayout LayoutTable(std::vector<ChunkRef>* chunks1, std::vector<ChunkRef>* chunks2) const;

    BoundedFile m_file;
    std::filesystem::path m_path;
    bool m_bSkipMarker = false;
    TelemetryLayout m_uLayout = 0;
    bool m_bVideoTest = false;
};
