// ParseSequenceParameterSet on any bytes.
#include "ts_demux.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SequenceParameters sps;
    if (ParseSequenceParameterSet(data, size, sps)) {
        if (sps.width == 0 || sps.height == 0 || sps.width > 0xFFFF || sps.height > 0xFFFF) __builtin_trap();
        if (!(sps.frameRate >= 0)) __builtin_trap();
    }
    return 0;
}
