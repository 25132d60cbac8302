// The controller's seek arithmetic between the seek slider's positions and engine times.
// The scale values (origin = position of time 0, span = positions from time 0 to the end) are
// the seek slider's; they are passed in, so these rules hold no state of their own.
#pragma once

#include <cstdint>
#include <optional>

// What the controller knows of one engine when it picks the length a seek is measured against.
struct EngineTimeSource {
    bool usable = false;
    bool playing = false;
    bool paused = false;
    int64_t lengthMs = 0; // the player's length; negative (unknown) counts as 0
};

// The front engine's length when it is usable and playing (or paused, when countPaused), else the
// rear engine's by the same rule, else 0. Slider scrolls count playing engines only; the slider's
// own seek request and keyboard or wheel seeks count paused ones as well.
int64_t SeekLengthMs(const EngineTimeSource& front, const EngineTimeSource& rear, bool countPaused);

// The pending seek of a slider position: (length / span) * p in 64-bit integers, division first,
// with p = position - origin when position is not below origin, else position itself. A result of 0
// is stored as 1 (0 means "no seek pending"). No value when span <= 0: the slider has not been laid
// out yet, and that seek is skipped.
std::optional<int64_t> PendingSeekMs(int64_t lengthMs, int position, int origin, int span);

// Where a time report puts the seek slider: q = truncate(time / length * span) in doubles (0 when the
// length is not positive), kept within 0..span so a report past the end or before the start never
// leaves the scale; position = origin + q; current = q * duration / span. No value when span <= 0.
struct SliderMove {
    int position = 0;
    uint32_t currentMs = 0; // time shown at the slider's left end
};
std::optional<SliderMove> SliderMoveForTime(int64_t timeMs, int64_t lengthMs, int origin, int span,
                                            uint32_t durationMs);
