// "Export subtitles (SRT)": the cues of a recording or trip as an SRT file, written under a
// temporary name beside the target and renamed at the end, so no half-written file is left.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "overlay_cues.h"

// False with `error` in words; an existing `path` is kept unless `replace` (the user agreed).
bool WriteSrtFile(const std::filesystem::path& path, const std::vector<OverlayCue>& cues, bool replace,
                  std::string& error);
