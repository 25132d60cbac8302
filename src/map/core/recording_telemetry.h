// The telemetry of the current recording, read once from its file by the procedure of its
// telemetry layout, and kept while the recording stays current.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "records.h"
#include "track_reader.h"

struct RecordingTelemetry {
    TelemetryLayout layout = kLayoutNone;
    // Layout 0: the GPS and G-sensor blocks as stored in the file (coordinates in NMEA form).
    std::vector<GpsFix> rawGps;
    std::vector<GSensorSample> rawGsensor;
    // Layouts 1 to 4: what the layout's track reader delivered (decimal degrees).
    std::vector<GpsFix> track;
    std::vector<GSensorSample> gsensor;
    std::vector<VehicleSample> vehicles; // layout 2 only

    // The fixes of the recording in file order, whichever layout holds them.
    const std::vector<GpsFix>& Fixes() const { return layout == kLayoutBlocks ? rawGps : track; }
    const std::vector<GSensorSample>& GSensor() const {
        return layout == kLayoutBlocks ? rawGsensor : gsensor;
    }
};

enum class TelemetryLoad {
    kNoTelemetry, // the layout is none of the five: nothing was read
    kOpenFailed,  // the file could not be opened (or, layout 3, its tail was not recognised)
    kLoaded,
};

// Reads the telemetry of the recording at `path`, described by `info` (which the catalog's
// reader filled), into `out`, which is emptied first. A transport stream whose layout-2 chunk
// list has not been collected yet is walked once to collect it (stored back into `info`, with
// m_bChunks2Collected set when the walk ended normally, also when it found no records).
// `end` (when given) says whether a read error cut the reading short (kCutShort: what was read is
// in `out`, but it is not the whole telemetry, so it should not be kept for later).
// Layout 0: a block is read only when it lies wholly inside the file, and only its whole records;
// a block that cannot be read stays empty.
TelemetryLoad LoadRecordingTelemetry(const std::filesystem::path& path, MediaInfo& info,
                                     RecordingTelemetry& out, TrackReadEnd* end = nullptr);
