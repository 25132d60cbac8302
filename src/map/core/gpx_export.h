// The valid fixes of recordings as a GPX 1.1 document, one track per recording (a trip: several).
// Plain C++, shared by the window's GPX export and `veltrix-probe --gpx`. UTF-8 whatever bytes the
// names hold; numbers never follow the locale.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "track_file_source.h"

// Each fix with flags bit 0 set and finite coordinates (layout 0: the raw NMEA block converted,
// 200 degrees or more being the camera's "unusable") becomes a track point with its altitude and,
// when its date and time are plausible, its time (local wall clock: the camera's clock has no zone).
void WriteGpx(std::ostream& out, std::span<const TrackFileRecording> recordings,
              std::string_view creator = "Veltrix");
