#include "playback_speeds.h"

#include <algorithm>

const PlaybackSpeed PLAYBACK_SPEEDS[kPlaybackSpeedCount] = {
    {0.3, "0.3 X"}, {0.4, "0.4 X"}, {0.5, "0.5 X"}, {0.6, "0.6 X"}, {0.7, "0.7 X"}, {0.8, "0.8 X"},
    {0.9, "0.9 X"}, {1.0, "1.0 X"}, {1.2, "1.2 X"}, {1.4, "1.4 X"}, {1.6, "1.6 X"}, {1.8, "1.8 X"},
    {2.0, "2.0 X"}, {2.4, "2.4 X"}, {2.8, "2.8 X"}, {3.2, "3.2 X"}, {3.6, "3.6 X"}, {4.0, "4.0 X"},
};

int ClampSpeedIndex(int index) {
    return std::clamp(index, 0, kPlaybackSpeedCount - 1);
}

int FasterSpeedIndex(int index) {
    return std::min(ClampSpeedIndex(index) + 1, kPlaybackSpeedCount - 1);
}

int SlowerSpeedIndex(int index) {
    return std::max(ClampSpeedIndex(index) - 1, 0);
}

const PlaybackSpeed& SpeedRow(int index) {
    return PLAYBACK_SPEEDS[ClampSpeedIndex(index)];
}

float SpeedRate(int index) {
    return static_cast<float>(SpeedRow(index).rate);
}

const char* SpeedLabel(int index) {
    return SpeedRow(index).label;
}

bool SpeedLabelShown(int index) {
    return SpeedRow(index).rate != 1.0;
}
