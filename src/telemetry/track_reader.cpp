#include "track_reader.h"

#include <cstring>

#include "chunk_blocks.h"
#include "coordinates.h"
#include "gps_rules.h"
#include "mp4_boxes.h"
#include "trace.h"

namespace {
constexpr size_t kLayout4Header = 16;
constexpr size_t kLayout4Record = kLayout4ChunkBytes - kLayout4Header;
constexpr uint16_t kGpsRecordType = 10;
constexpr size_t kMaxLayout4Entries = 5;

GSensorSample SampleAt(const uint8_t* p) {
    return {static_cast<int16_t>(LoadLE16(p)), static_cast<int16_t>(LoadLE16(p + 2)),
            static_cast<int16_t>(LoadLE16(p + 4))};
}

void ReadLayout1Chunks(BoundedFile& file, const std::vector<ChunkRef>& chunks, std::vector<GpsFix>& track,
                       std::vector<GSensorSample>& gsensor) {
    CChunkBlockReader records(file, chunks, kLayout1RecordBytes);
    for (size_t i = 0; i < chunks.size(); ++i)
        if (const uint8_t* record = records.Record(i)) AppendLayout1Record(record, track, gsensor);
}

void ReadLayout2Chunks(BoundedFile& file, const std::vector<ChunkRef>& chunks, std::vector<GpsFix>& track,
                       std::vector<GSensorSample>& gsensor, std::vector<VehicleSample>& vehicles) {
    CChunkBlockReader records(file, chunks, kLayout2RecordBytes);
    for (size_t i = 0; i < chunks.size(); ++i)
        if (const uint8_t* record = records.Record(i)) AppendLayout2Record(record, track, gsensor, vehicles);
}

void ReadLayout4Chunks(BoundedFile& file, const std::vector<ChunkRef>& chunks, std::vector<GpsFix>& track,
                       std::vector<GSensorSample>& gsensor) {
    CChunkBlockReader records(file, chunks, kLayout4ChunkBytes);
    for (size_t i = 0; i < chunks.size(); ++i)
        if (const uint8_t* chunk = records.Record(i)) AppendLayout4Chunk(chunk, track, gsensor);
}

GpsFix FixFromRawTail(const uint8_t* raw) {
    GpsFix fix;
    std::memset(&fix, 0, sizeof fix);
    if (raw[29] == 0) return fix;
    std::memcpy(&fix, raw, sizeof fix);
    fix.latitude = NmeaToDegrees(fix.latitude);
    fix.longitude = NmeaToDegrees(fix.longitude);
    fix.padding[0] = fix.padding[1] = 0;
    return fix;
}

// Layout 3: the boxes in the last 5120 bytes. False when the "name" box is not the camera's.
bool ReadTailBoxes(BoundedFile& file, std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor,
                   bool& recognised) {
    uint64_t pos = file.Size() - kTailSize;
    uint32_t payload = FindTailBox(file, FourCC("name"), pos);
    if (payload == 0) return false;
    uint8_t name[40];
    file.ReadAt(pos, name, sizeof name);
    if (std::memcmp(name + 32, "noml", 4) != 0) return false;
    recognised = true;
    pos += payload;
    if ((payload = FindTailBox(file, FourCC("gpsa"), pos)) != 0) {
        uint8_t attr[4];
        file.ReadAt(pos, attr, sizeof attr);
        pos += payload;
    }
    if ((payload = FindTailBox(file, FourCC("gps0"), pos)) != 0) {
        uint8_t raw[sizeof(GpsFix)];
        for (uint32_t i = 0; i < payload / sizeof raw; ++i) {
            file.ReadAt(pos + uint64_t{i} * sizeof raw, raw, sizeof raw);
            track.push_back(FixFromRawTail(raw));
        }
        pos += payload;
    }
    if ((payload = FindTailBox(file, FourCC("gsea"), pos)) != 0) {
        uint8_t attr[20];
        file.ReadAt(pos, attr, sizeof attr);
        pos += payload;
    }
    if ((payload = FindTailBox(file, FourCC("gsen"), pos)) != 0) {
        uint8_t raw[sizeof(GSensorSample)];
        for (uint32_t i = 0; i < payload / sizeof raw; ++i) {
            file.ReadAt(pos + uint64_t{i} * sizeof raw, raw, sizeof raw);
            gsensor.push_back(SampleAt(raw));
        }
    }
    return true;
}
} // namespace

void AppendLayout1Record(const uint8_t* record, std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor) {
    track.push_back(FixFromGpsPart(record, kLayout1GpsPart));
    if (LoadLE16(record + 6) != 0) {
        const GSensorSample s = SampleAt(record + 8);
        gsensor.push_back(s);
        Trace("gsensorDAT x=%d ,y=%d ,z=%d \n", s.x, s.y, s.z);
    }
}

void AppendLayout2Record(const uint8_t* record, std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor,
                         std::vector<VehicleSample>& vehicles) {
    if (LoadLE16(record + 4) != kGpsRecordType) return;
    VehicleSample vehicle;
    std::memcpy(&vehicle, record + 92, sizeof vehicle);
    vehicles.push_back(vehicle);
    const bool ownPosition = vehicle.longitude != 0xFFFFFFFFu && vehicle.latitude != 0xFFFFFFFFu;
    track.push_back(ownPosition ? FixFromVehicleSample(vehicle) : FixFromGpsPart(record, GpsPartAt(20)));
    if (LoadLE16(record + 10) != 0) {
        const GSensorSample s = SampleAt(record + 12);
        gsensor.push_back(s);
        Trace("gsensorDAT====>>  x=%d ,y=%d ,z=%d \n", s.x, s.y, s.z);
    } else {
        Trace("gsensorDAT====>>  gsensor_data.valid false !! \n");
    }
}

void AppendLayout4Chunk(const uint8_t* chunk, std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor) {
    if (LoadLE32(chunk + 12) != kLayout4Record) {
        Trace("size invalid ====================>> \n");
        return;
    }
    const uint8_t* record = chunk + kLayout4Header;
    if (LoadLE16(record + 4) != kGpsRecordType) return;
    track.push_back(FixFromGpsPart(record, GpsPartAt(68)));
    AppendLayout4GSensor(record, gsensor);
}

void AppendLayout4GSensor(const uint8_t* record, std::vector<GSensorSample>& gsensor) {
    const size_t n = std::min<size_t>(LoadLE16(record + 6), kMaxLayout4Entries);
    size_t valid = 0;
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* entry = record + 8 + 12 * i;
        if (LoadLE16(entry + 4) != 0) {
            gsensor.push_back(SampleAt(entry + 6));
            ++valid;
        }
    }
    for (size_t p = valid; p < n; ++p)
        gsensor.push_back(p == 0 ? GSensorSample{0, 0, 0} : SampleAt(record + 8 + 12 * (p - 1) + 6));
}

uint32_t FindTailBox(BoundedFile& file, uint32_t type, uint64_t& pos) {
    return FindBox(file, type, pos, kTailSize);
}

namespace {
// Runs one reading step; a read error ends it early and is reported, what was read stays.
template <class Step> TrackReadEnd Guarded(Step&& step) {
    try {
        step();
        return TrackReadEnd::kComplete;
    } catch (const FileReadError&) {
        return TrackReadEnd::kCutShort;
    }
}

bool Report(TrackReadEnd* end, TrackReadEnd value, bool result) {
    if (end) *end = value;
    return result;
}
} // namespace

bool ReadLayout1Track(const std::filesystem::path& path, std::vector<ChunkRef> chunks,
                      std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor, TrackReadEnd* end) {
    BoundedFile file;
    if (!file.Open(path)) return Report(end, TrackReadEnd::kNotOpened, false);
    return Report(end, Guarded([&] { ReadLayout1Chunks(file, chunks, track, gsensor); }), true);
}

TrackReadEnd ReadLayout2Records(BoundedFile& file, const std::vector<ChunkRef>& chunks,
                                std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor,
                                std::vector<VehicleSample>& vehicles) {
    return Guarded([&] { ReadLayout2Chunks(file, chunks, track, gsensor, vehicles); });
}

bool ReadLayout2Track(const std::filesystem::path& path, std::vector<ChunkRef> chunks,
                      std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor,
                      std::vector<VehicleSample>& vehicles, TrackReadEnd* end) {
    Trace("readGpsTrackInfo ====================>> szFile= %s \n", path.c_str());
    BoundedFile file;
    if (!file.Open(path)) return Report(end, TrackReadEnd::kNotOpened, false);
    return Report(end, ReadLayout2Records(file, chunks, track, gsensor, vehicles), true);
}

bool ReadLayout3Track(const std::filesystem::path& path, std::vector<GpsFix>& track,
                      std::vector<GSensorSample>& gsensor, TrackReadEnd* end) {
    BoundedFile file;
    if (!file.Open(path)) return Report(end, TrackReadEnd::kNotOpened, false);
    if (file.Size() < kTailSize) return Report(end, TrackReadEnd::kComplete, false);
    bool recognised = false, read = false;
    const TrackReadEnd how = Guarded([&] { read = ReadTailBoxes(file, track, gsensor, recognised); });
    return Report(end, how, how == TrackReadEnd::kComplete ? read : recognised);
}

bool ReadLayout4Track(const std::filesystem::path& path, std::vector<ChunkRef> chunks,
                      std::vector<GpsFix>& track, std::vector<GSensorSample>& gsensor, TrackReadEnd* end) {
    Trace("readGpsTrackInfo ====================>> szFile= %s \n", path.c_str());
    BoundedFile file;
    if (!file.Open(path)) return Report(end, TrackReadEnd::kNotOpened, false);
    return Report(end, Guarded([&] { ReadLayout4Chunks(file, chunks, track, gsensor); }), true);
}
