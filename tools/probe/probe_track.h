// Reading the telemetry of one recording for the probe, by the layout its reader found.
#pragma once

#include <filesystem>
#include <vector>

#include "records.h"

struct ProbeTrack {
    std::vector<GpsFix> fixes; // decimal degrees, except raw NMEA fixes of layout 0 (see rawNmea)
    bool rawNmea = false;      // layout 0: fixes are the file's block, converted when shown
    std::vector<GSensorSample> gsensor;
    std::vector<VehicleSample> vehicles;
};

// Fills `track` for the recording at `path` as described by `info` (which a reader filled).
// The place where each container's way of loading a track is chosen; a reader whose telemetry
// needs more than its MediaInfo (transport streams) extends it here. False when nothing could be read.
bool LoadTrackForProbe(const std::filesystem::path& path, MediaInfo& info, ProbeTrack& track);
