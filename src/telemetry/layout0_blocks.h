// The layout-0 telemetry blocks as the MP4 and AVI readers both find them: "gps0" (raw 32-byte
// fixes), "gsen", "gpsa"/"gsea" and the "IDIT" start-time text. The readers walk their own
// containers; what a block means is decided here, once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

class BoundedFile;

constexpr uint32_t kRawFixSize = 32;
// The camera's "IDIT" field: longer payloads are cut here.
constexpr size_t kIditTextMax = 64;

// Month 1..12, day 1..31, hour <= 23, minute and second <= 59, year not negative.
bool PlausibleDateTime(int year, int month, int day, int hour, int minute, int second);

// The size of a block of `size` bytes at `offset` as far as the file holds it: a block cut off by
// the end of the file is kept only as far as it goes.
uint32_t ClipBlockSize(const BoundedFile& file, uint64_t offset, uint64_t size);

// The start time a GPS block of `size` bytes at `offset` gives: the first raw fix with a non-zero
// year byte, a plausible date and a local time that exists, minus (its index / rate) seconds.
// `rateByte` is byte 0 of the GPS attributes (0 counts as 1). Empty when no record gives one.
// Reads only inside the block; `size` must lie inside the file (see ClipBlockSize).
std::optional<int64_t> GpsBlockStartTime(BoundedFile& file, uint64_t offset, uint32_t size, uint8_t rateByte);

// The start time of an "IDIT" text ("%04d-%02d-%02d %02d:%02d:%02d", at most kIditTextMax bytes,
// not necessarily terminated): empty when it does not parse, the year is before 1900, the date is
// not plausible or the local time does not exist. An empty answer withdraws an earlier start time.
std::optional<int64_t> IditStartTime(const char* text, size_t length);
