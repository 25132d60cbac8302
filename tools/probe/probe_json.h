// The probe's JSON: one object per recording on one line.
#pragma once

#include <filesystem>
#include <string>

#include "json_text.h"
#include "probe_track.h"
#include "records.h"

namespace probe {

using ::JsonString; // from the base library: always valid JSON, U+FFFD for bytes that are not UTF-8
std::string JsonNumber(double value); // shortest round-trip form; null for NaN and infinities

// [lat, lon, alt, speed, "YY-MM-DD hh:mm:ss", heading_degrees, flags]; a raw layout-0 fix is
// converted for display, an unusable coordinate gives null for both.
std::string FixJson(const GpsFix& fix, bool rawNmea);
std::string GSensorJson(const GSensorSample& sample, uint8_t fullScale);
std::string VehicleJson(const VehicleSample& sample);

// The recording's object; with a track, its "fixes", "gsensor" and "vehicle" arrays too.
std::string RecordingJson(const std::filesystem::path& path, bool accepted, const MediaInfo& info,
                          const ProbeTrack* track);

} // namespace probe
