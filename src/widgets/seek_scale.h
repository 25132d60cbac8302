// The seek scale of the seek slider (which owns it, see video_slider.h), and the plain arithmetic
// between slider positions, pixels and playback times.
#pragma once

#include <cstdint>

#include <QString>

struct SeekScale {
    int origin = 0; // slider position of time 0 (50 px from the left)
    int span = 1000; // slider positions from time 0 to the end
};

// Below this width the slider is hidden or not laid out yet and its scale would be meaningless.
constexpr int kSeekScaleMinWidth = 101;

// The scale of a slider whose range ends at rangeMax and whose client area is clientWidth wide:
// time 0 and the end lie 50 pixels from either end. A width under kSeekScaleMinWidth, or a scale
// whose span would not be positive, keeps the previous scale.
SeekScale SeekScaleForWidth(int rangeMax, int clientWidth, SeekScale previous);

// Playback time of a slider position: (p - origin) * duration / span in 64 bits. A position left of
// the origin is the origin; no duration or no span gives 0; times past 2^32 - 1 saturate.
uint32_t SeekPositionToMs(int64_t position, SeekScale scale, uint32_t durationMs);

// Slider position under pixel x: (x - channelLeft) * (max - min) / channelWidth, truncated toward
// zero. An empty channel gives rangeMin.
int SliderPositionAtX(int x, int channelLeft, int channelWidth, int rangeMin, int rangeMax);

// X of the seek thumb as published to the curve: (channelWidth - 10) * position / (max - min) + 10.
// An empty range gives 10.
int SliderThumbX(int channelWidth, int position, int rangeMin, int rangeMax);

// "mm:ss" of a time in milliseconds; minutes are not limited to two digits ("100:00").
QString SeekTimeText(uint32_t ms);

// The front player's volume (0..200) for a volume slider position (0..100).
int FrontVolumeForSlider(int position);
