#include "command_table.h"

#include <algorithm>

int64_t KeySeekTargetMs(int64_t currentMs, int64_t lengthMs, int direction) {
    const int64_t target = currentMs + (direction < 0 ? -kKeySeekStepMs : kKeySeekStepMs);
    return std::clamp<int64_t>(target, 0, std::max<int64_t>(lengthMs, 0));
}

int KeyVolumePosition(int position, int direction) {
    return std::clamp(position + (direction < 0 ? -kKeyVolumeStep : kKeyVolumeStep), 0, 100);
}
