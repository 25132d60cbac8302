#include "gpx_writer.h"

#include "gpx_export.h"

namespace probe {

void WriteGpx(std::ostream& out,
              const std::vector<std::pair<std::filesystem::path, ProbeTrack>>& recordings) {
    std::vector<TrackFileRecording> tracks;
    for (const auto& [path, track] : recordings) {
        TrackFileRecording r;
        r.fileName = path.filename().string();
        // Only the raw block of layout 0 needs its coordinates converted; any other layout will do.
        r.layout = track.rawNmea ? kLayoutBlocks : kLayoutJtdMeta;
        r.fixes = track.fixes;
        tracks.push_back(r);
    }
    ::WriteGpx(out, tracks, "veltrix-probe");
}

} // namespace probe
