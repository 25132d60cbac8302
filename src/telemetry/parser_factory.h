// Creates the container reader for a recording file by the end of its name.
#pragma once

#include <filesystem>
#include <memory>

#include "video_parser.h"

// ".AVI" (case-sensitive, last four characters) -> AVI reader; ".TS" -> transport stream
// reader; anything else -> the MP4/MOV reader. nullptr only while a reader is not built in.
std::unique_ptr<COrvexVideoParser> CreateVideoParser(const std::filesystem::path& path);
