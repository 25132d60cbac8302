// The valid fixes of recordings as a GPX 1.1 document, one track per recording.
#pragma once

#include <filesystem>
#include <ostream>
#include <utility>
#include <vector>

#include "probe_track.h"

namespace probe {

void WriteGpx(std::ostream& out, const std::vector<std::pair<std::filesystem::path, ProbeTrack>>& recordings);

} // namespace probe
