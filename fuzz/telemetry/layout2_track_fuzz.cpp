// ReadLayout2Track on any bytes, with the chunks the MP4/MOV reader finds plus a sweep of offsets.
#include "fuzz_input_file.h"
#include "track_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto& path = WriteFuzzInput(data, size);
    const std::vector<ChunkRef> chunks = FuzzChunks(path, size, kLayoutVideMeta, 148);
    std::vector<GpsFix> track;
    std::vector<GSensorSample> gsensor;
    std::vector<VehicleSample> vehicles;
    if (!ReadLayout2Track(path, chunks, track, gsensor, vehicles))
        __builtin_trap(); // the file exists, so it must open
    // At most one fix (and vehicle sample) and 1 G-sensor sample(s) per chunk.
    if (track.size() > chunks.size() || vehicles.size() > track.size() || gsensor.size() > 1 * chunks.size())
        __builtin_trap();
    return 0;
}
