// Hands a fuzz input to a reader as a file: an in-memory file (memfd) reached through
// /proc/self/fd, so each run costs no disk I/O.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "records.h"

// Replaces the contents of the process's input file with `data` and returns its path.
const std::filesystem::path& WriteFuzzInput(const uint8_t* data, size_t size);

// Chunk offsets for a track reader: those the MP4/MOV reader lists for the file (for `layout`),
// then a sweep of record-sized steps over the file and the offsets near its end, so that both
// real structures and raw records are reached.
std::vector<ChunkRef> FuzzChunks(const std::filesystem::path& path, size_t fileSize, TelemetryLayout layout,
                                 size_t recordSize);
