// The probe's --gpx: its loaded tracks handed to the viewer's GPX export (map core).
#pragma once

#include <filesystem>
#include <ostream>
#include <utility>
#include <vector>

#include "probe_track.h"

namespace probe {

void WriteGpx(std::ostream& out, const std::vector<std::pair<std::filesystem::path, ProbeTrack>>& recordings);

} // namespace probe
