// The 18 playback rates and the faster/slower steps between them.
#pragma once

struct PlaybackSpeed {
    double rate;       // handed to the engines as a 32-bit float
    const char* label; // shown by the playback-speed label
};

constexpr int kPlaybackSpeedCount = 18;
constexpr int kNormalSpeedIndex = 7; // rate 1.0

extern const PlaybackSpeed PLAYBACK_SPEEDS[kPlaybackSpeedCount];

// Any index is first brought into 0..17, so a stray value never reads outside the table.
int ClampSpeedIndex(int index);
int FasterSpeedIndex(int index); // one row up, at most 17
int SlowerSpeedIndex(int index); // one row down, at least 0
const PlaybackSpeed& SpeedRow(int index);
float SpeedRate(int index);
const char* SpeedLabel(int index);
// The label shows only while the rate differs from normal speed.
bool SpeedLabelShown(int index);
