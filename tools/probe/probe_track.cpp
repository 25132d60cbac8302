#include "probe_track.h"

#include "bounded_file.h"
#include "track_reader.h"
#include "ts_reader.h"

namespace {
// Whole records of a block, as far as the file holds them.
template <typename Record>
void ReadBlock(BoundedFile& file, uint64_t offset, uint32_t size, std::vector<Record>& out) {
    if (size == 0 || offset >= file.Size()) return;
    const uint64_t available = std::min<uint64_t>(size, file.Size() - offset);
    out.resize(static_cast<size_t>(available / sizeof(Record)));
    file.ReadBlockAt(offset, out.data(), out.size() * sizeof(Record));
}

bool LoadBlocks(const std::filesystem::path& path, const MediaInfo& info, ProbeTrack& track) {
    BoundedFile file;
    if (!file.Open(path)) return false;
    try {
        ReadBlock(file, info.m_ullGpsOffset, info.m_uGpsSize, track.fixes);
        ReadBlock(file, info.m_ullGsensorOffset, info.m_uGsensorSize, track.gsensor);
    } catch (const FileReadError&) {
        return false;
    }
    track.rawNmea = true;
    return true;
}
} // namespace

bool LoadTrackForProbe(const std::filesystem::path& path, MediaInfo& info, ProbeTrack& track) {
    // Transport streams: the collecting probe of the TS reader fills info.m_Chunks2 first, as the
    // track loading of the viewer does.
    if (info.m_uLayout == kLayoutVideMeta && info.m_Chunks2.empty() &&
        path.filename().string().ends_with(".TS")) {
        COrvexTsParser parser;
        parser.SetMediaInfo(&info);
        parser.ProbeTransportStream(path, true);
    }
    switch (info.m_uLayout) {
    case kLayoutBlocks:
        return LoadBlocks(path, info, track);
    case kLayoutJtdMeta:
        return ReadLayout1Track(path, info.m_Chunks1, track.fixes, track.gsensor);
    case kLayoutVideMeta:
        return ReadLayout2Track(path, info.m_Chunks2, track.fixes, track.gsensor, track.vehicles);
    case kLayoutTailBoxes:
        return ReadLayout3Track(path, track.fixes, track.gsensor);
    case kLayoutGpsBox:
        return ReadLayout4Track(path, info.m_Chunks4, track.fixes, track.gsensor);
    default:
        return false;
    }
}
