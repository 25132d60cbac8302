#include "recording_telemetry.h"

#include "bounded_file.h"
#include "trace.h"
#include "track_reader.h"
#include "track_rules.h"
#include "ts_reader.h"

namespace {

// The whole records of a block, or nothing when the block does not lie inside the file or a
// read fails. Nothing is allocated before the bounds are known to hold.
template <typename Record>
std::vector<Record> ReadBlock(BoundedFile& file, uint64_t offset, uint32_t size, TrackReadEnd& end) {
    if (size == 0 || !file.Holds(offset, size)) return {};
    std::vector<Record> records(size / sizeof(Record));
    try {
        file.ReadBlockAt(offset, records.data(), records.size() * sizeof(Record));
    } catch (const FileReadError&) {
        end = TrackReadEnd::kCutShort;
        return {};
    }
    return records;
}

TelemetryLoad LoadBlocks(const std::filesystem::path& path, const MediaInfo& info, RecordingTelemetry& out,
                         TrackReadEnd& end) {
    BoundedFile file;
    if (!file.Open(path)) return TelemetryLoad::kOpenFailed;
    end = TrackReadEnd::kComplete;
    out.rawGsensor = ReadBlock<GSensorSample>(file, info.m_ullGsensorOffset, info.m_uGsensorSize, end);
    out.rawGps = ReadBlock<GpsFix>(file, info.m_ullGpsOffset, info.m_uGpsSize, end);
    return TelemetryLoad::kLoaded;
}

TelemetryLoad Loaded(bool opened) {
    return opened ? TelemetryLoad::kLoaded : TelemetryLoad::kOpenFailed;
}

// Walks a transport stream once for its records' places. A walk that ends normally is kept, also
// when it found none, so a stream without telemetry is not walked again; a walk cut short is not.
bool CollectTransportStreamChunks(const std::filesystem::path& path, MediaInfo& info, CapturedRecords& captured) {
    COrvexTsParser parser;
    parser.SetMediaInfo(&info);
    parser.CaptureRecords(&captured);
    const bool walked = parser.ProbeTransportStream(path, true) == 0;
    info.m_bChunks2Collected = walked;
    return walked;
}

// The records of a walk that has just collected them: those it kept from its blocks, the few others
// read by themselves; the same arrays as reading every record from the file.
TelemetryLoad LoadCapturedRecords(const std::filesystem::path& path, const std::vector<ChunkRef>& chunks,
                                  const CapturedRecords& captured, RecordingTelemetry& out, TrackReadEnd& end) {
    Trace("readGpsTrackInfo ====================>> szFile= %s \n", path.c_str());
    BoundedFile file;
    if (!file.Open(path)) return TelemetryLoad::kOpenFailed;
    end = TrackReadEnd::kComplete;
    uint8_t record[CapturedRecords::kRecordSize];
    try {
        for (size_t i = 0; i < chunks.size(); ++i) {
            const uint8_t* bytes = nullptr;
            if (i < captured.present.size() && captured.present[i])
                bytes = captured.bytes.data() + i * CapturedRecords::kRecordSize;
            else if (file.TryReadAt(chunks[i].offset, record, sizeof record))
                bytes = record;
            if (bytes) AppendLayout2Record(bytes, out.track, out.gsensor, out.vehicles);
        }
    } catch (const FileReadError&) {
        end = TrackReadEnd::kCutShort;
    }
    return TelemetryLoad::kLoaded;
}

} // namespace

TelemetryLoad LoadRecordingTelemetry(const std::filesystem::path& path, MediaInfo& info,
                                     RecordingTelemetry& out, TrackReadEnd* end) {
    TrackReadEnd ignored = TrackReadEnd::kNotOpened;
    TrackReadEnd& how = end ? *end : ignored;
    how = TrackReadEnd::kNotOpened;
    out = RecordingTelemetry{};
    if (!HasTelemetryLayout(info.m_uLayout)) return TelemetryLoad::kNoTelemetry;
    out.layout = info.m_uLayout;
    switch (info.m_uLayout) {
    case kLayoutBlocks:
        return LoadBlocks(path, info, out, how);
    case kLayoutJtdMeta:
        return Loaded(ReadLayout1Track(path, info.m_Chunks1, out.track, out.gsensor, &how));
    case kLayoutVideMeta:
        // The catalog's probe of a transport stream reads only its ends; the records' places
        // are collected by a walk of the whole file when the recording is opened.
        if (path.native().ends_with(".TS") && info.m_Chunks2.empty() && !info.m_bChunks2Collected) {
            CapturedRecords captured;
            if (CollectTransportStreamChunks(path, info, captured))
                return LoadCapturedRecords(path, info.m_Chunks2, captured, out, how);
            const bool opened = ReadLayout2Track(path, info.m_Chunks2, out.track, out.gsensor, out.vehicles);
            if (opened) how = TrackReadEnd::kCutShort;
            return Loaded(opened);
        }
        return Loaded(ReadLayout2Track(path, info.m_Chunks2, out.track, out.gsensor, out.vehicles, &how));
    case kLayoutTailBoxes:
        return Loaded(ReadLayout3Track(path, out.track, out.gsensor, &how));
    default:
        return Loaded(ReadLayout4Track(path, info.m_Chunks4, out.track, out.gsensor, &how));
    }
}
