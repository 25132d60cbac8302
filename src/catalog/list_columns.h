// The texts of the file list and group list columns.
#pragma once

#include <cstdint>
#include <string>

std::string GroupIdText(int group);                          // "G%d"
std::string FileIdText(int group, int position);             // "G%d-%d"
std::string FileNameColumnText(const std::string& fileName); // the name without its first five characters
std::string TimeOfDayText(int64_t time);                     // "%H:%M:%S", local time
std::string EndTimeText(int64_t start, uint32_t durationMs); // start + duration / 1000, "%H:%M:%S"
std::string MegabytesText(uint64_t bytes);                   // " %lld MB", bytes >> 20
std::string GroupStartText(int64_t time);                    // "%Y-%m-%d %H:%M:%S", local time
std::string GroupLengthText(int64_t lengthMs);               // " %lld s "
std::string ResolutionName(unsigned width, unsigned height); // "1080P HD", "%dx%d" or ""
