// ReadLayout3Track on any bytes (the tail boxes in the last 5120 bytes).
#include "fuzz_input_file.h"
#include "track_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto& path = WriteFuzzInput(data, size);
    std::vector<GpsFix> track;
    std::vector<GSensorSample> gsensor;
    const bool ok = ReadLayout3Track(path, track, gsensor);
    if (!ok && size < kTailSize && (!track.empty() || !gsensor.empty())) __builtin_trap();
    if (track.size() * sizeof(GpsFix) + gsensor.size() * sizeof(GSensorSample) > kTailSize)
        __builtin_trap(); // everything comes from the last 5120 bytes
    return 0;
}
