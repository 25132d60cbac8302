// Box-level access to ISO base media files (MP4/MOV/3GP): headers and sibling searches.
// Box types are compared as four raw bytes, held big-endian in a uint32_t.
#pragma once

#include <cstdint>
#include <string_view>

#include "bounded_file.h"

constexpr uint32_t FourCC(const char (&t)[5]) {
    return (uint32_t{static_cast<uint8_t>(t[0])} << 24) | (uint32_t{static_cast<uint8_t>(t[1])} << 16) |
           (uint32_t{static_cast<uint8_t>(t[2])} << 8) | uint32_t{static_cast<uint8_t>(t[3])};
}

// Reads the header at `pos` (8 bytes, 16 when the 32-bit size is 1), leaves `pos` at the first
// payload byte and returns the type. The payload size is size - 8, or the low 32 bits of the
// 64-bit size - 16, in 32-bit arithmetic (a zero size wraps to a huge payload).
uint32_t ReadBoxHeader(BoundedFile& file, uint64_t& pos, uint32_t& payload);

// Searches the siblings starting at `pos` within `range` bytes for a box of `type`. On success
// `pos` is the payload of that box and its payload size is returned; otherwise 0 and `pos`
// is left unchanged.
uint32_t FindBox(BoundedFile& file, uint32_t type, uint64_t& pos, uint64_t range);

// FindBox for each four-character type of `path` in turn, each inside the box found before.
uint32_t FindBoxPath(BoundedFile& file, std::string_view path, uint64_t& pos, uint64_t range);

// First "avc1" or "hvc1" sample entry among the boxes starting at `pos`.
uint32_t FindSampleEntry(BoundedFile& file, uint64_t& pos, uint64_t range);
