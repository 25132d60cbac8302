#include "recording_telemetry.h"

#include "bounded_file.h"
#include "track_reader.h"
#include "track_rules.h"
#include "ts_reader.h"

namespace {

// The whole records of a block, or nothing when the block does not lie inside the file or a
// read fails. Nothing is allocated before the bounds are known to hold.
template <typename Record> std::vector<Record> ReadBlock(BoundedFile& file, uint64_t offset, uint32_t size) {
    if (size == 0 || !file.Holds(offset, size)) return {};
    std::vector<Record> records(size / sizeof(Record));
    try {
        file.ReadBlockAt(offset, records.data(), records.size() * sizeof(Record));
    } catch (const FileReadError&) {
        return {};
    }
    return records;
}

TelemetryLoad LoadBlocks(const std::filesystem::path& path, const MediaInfo& info, RecordingTelemetry& out) {
    BoundedFile file;
    if (!file.Open(path)) return TelemetryLoad::kOpenFailed;
    out.rawGsensor = ReadBlock<GSensorSample>(file, info.m_ullGsensorOffset, info.m_uGsensorSize);
    out.rawGps = ReadBlock<GpsFix>(file, info.m_ullGpsOffset, info.m_uGpsSize);
    return TelemetryLoad::kLoaded;
}

TelemetryLoad Loaded(bool opened) {
    return opened ? TelemetryLoad::kLoaded : TelemetryLoad::kOpenFailed;
}

} // namespace

TelemetryLoad LoadRecordingTelemetry(const std::filesystem::path& path, MediaInfo& info,
                                     RecordingTelemetry& out) {
    out = RecordingTelemetry{};
    if (!HasTelemetryLayout(info.m_uLayout)) return TelemetryLoad::kNoTelemetry;
    out.layout = info.m_uLayout;
    switch (info.m_uLayout) {
    case kLayoutBlocks:
        return LoadBlocks(path, info, out);
    case kLayoutJtdMeta:
        return Loaded(ReadLayout1Track(path, info.m_Chunks1, out.track, out.gsensor));
    case kLayoutVideMeta:
        // The catalog's probe of a transport stream reads only its ends; the records' places
        // are collected by a walk of the whole file when the recording is opened.
        if (path.native().ends_with(".TS") && info.m_Chunks2.empty()) {
            COrvexTsParser parser;
            parser.SetMediaInfo(&info);
            parser.ProbeTransportStream(path, true);
        }
        return Loaded(ReadLayout2Track(path, info.m_Chunks2, out.track, out.gsensor, out.vehicles));
    case kLayoutTailBoxes:
        return Loaded(ReadLayout3Track(path, out.track, out.gsensor));
    default:
        return Loaded(ReadLayout4Track(path, info.m_Chunks4, out.track, out.gsensor));
    }
}
