#include "seek_scale.h"

#include <algorithm>
#include <climits>

SeekScale SeekScaleForWidth(int rangeMax, int clientWidth, SeekScale previous) {
    if (clientWidth < kSeekScaleMinWidth) return previous;
    const int64_t origin = int64_t(rangeMax) * 50 / clientWidth;
    const int64_t span = (500 - origin) * 2;
    if (span <= 0 || origin > INT_MAX) return previous;
    return {int(origin), int(span)};
}

uint32_t SeekPositionToMs(int64_t position, SeekScale scale, uint32_t durationMs) {
    if (durationMs == 0 || scale.span <= 0 || position <= scale.origin) return 0;
    const uint64_t steps = uint64_t(position - scale.origin);
    const uint64_t ms = steps * durationMs / uint64_t(scale.span);
    return uint32_t(std::min<uint64_t>(ms, UINT32_MAX));
}

int SliderPositionAtX(int x, int channelLeft, int channelWidth, int rangeMin, int rangeMax) {
    if (channelWidth <= 0) return rangeMin;
    const int64_t p = (int64_t(x) - channelLeft) * (int64_t(rangeMax) - rangeMin) / channelWidth;
    return int(std::clamp<int64_t>(p, INT_MIN, INT_MAX));
}

int SliderThumbX(int channelWidth, int position, int rangeMin, int rangeMax) {
    const int64_t range = int64_t(rangeMax) - rangeMin;
    if (range == 0) return 10;
    return int((int64_t(channelWidth) - 10) * position / range + 10);
}

QString SeekTimeText(uint32_t ms) {
    const uint32_t seconds = ms / 1000;
    return QString::asprintf("%02u:%02u", seconds / 60, seconds % 60);
}

int FrontVolumeForSlider(int position) {
    return std::clamp(position, 0, 100) * 2;
}
