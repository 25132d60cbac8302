// Reading the telemetry records of a recording (layouts 1 to 4) into the arrays of the open
// recording. Each procedure appends to the arrays it is given and never removes anything.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "bounded_file.h"
#include "records.h"

// How a track read ended, for a caller that tells the user. kCutShort: a read error (the file
// shrank, its card was pulled, a device error) ended the reading early; the records read before it
// stay in the arrays.
enum class TrackReadEnd { kNotOpened, kComplete, kCutShort };

// True when the file was opened. `end` (when given) receives how the reading ended.
bool ReadLayout1Track(const std::filesystem::path& path, std::vector<ChunkRef> chunks,
                      std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor,
                      TrackReadEnd* end = nullptr);
bool ReadLayout2Track(const std::filesystem::path& path, std::vector<ChunkRef> chunks,
                      std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor,
                      std::vector<VehicleSample>& vehicles, TrackReadEnd* end = nullptr);
// True when the file was opened and its tail boxes were recognised.
bool ReadLayout3Track(const std::filesystem::path& path, std::vector<GpsFix>& track,
                      std::vector<GSensorSample>& gsensor, TrackReadEnd* end = nullptr);
bool ReadLayout4Track(const std::filesystem::path& path, std::vector<ChunkRef> chunks,
                      std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor,
                      TrackReadEnd* end = nullptr);

// The layout-2 records of an open file (ReadLayout2Track after its open): kComplete or kCutShort.
TrackReadEnd ReadLayout2Records(BoundedFile& file, const std::vector<ChunkRef>& chunks,
                                std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor,
                                std::vector<VehicleSample>& vehicles);

// Sibling search among the boxes of the last 5120 bytes (fixed range); payload size or 0,
// `pos` moved to the payload only when found.
uint32_t FindTailBox(BoundedFile& file, uint32_t type, uint64_t& pos);

// Bytes read at each chunk offset: the record (layouts 1, 2), header and record (layout 4).
constexpr size_t kLayout1RecordBytes = 88;
constexpr size_t kLayout2RecordBytes = 148;
constexpr size_t kLayout4ChunkBytes = 16 + 140;

// What one record adds to the arrays. Layout 2: nothing unless its type is 10. Layout 4 (header and
// record as read at the chunk offset): nothing unless the header's length is 140 and the type 10.
void AppendLayout1Record(const uint8_t* record, std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor);
void AppendLayout2Record(const uint8_t* record, std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor,
                         std::vector<VehicleSample>& vehicles);
void AppendLayout4Chunk(const uint8_t* chunk, std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor);

// The G-sensor samples of one layout-4 record (n entries, at most 5): the valid entries first,
// then fillers so that the record always adds n samples.
void AppendLayout4GSensor(const uint8_t* record, std::vector<GSensorSample>& gsensor);

constexpr uint64_t kTailSize = 5120;
