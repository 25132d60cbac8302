#include "seek_rules.h"

#include <algorithm>
#include <cmath>

namespace {

bool Counts(const EngineTimeSource& engine, bool countPaused) {
    return engine.usable && (engine.playing || (countPaused && engine.paused));
}

} // namespace

int64_t SeekLengthMs(const EngineTimeSource& front, const EngineTimeSource& rear, bool countPaused) {
    int64_t length = 0;
    if (Counts(front, countPaused))
        length = front.lengthMs;
    else if (Counts(rear, countPaused))
        length = rear.lengthMs;
    return std::max<int64_t>(length, 0);
}

std::optional<int64_t> PendingSeekMs(int64_t lengthMs, int position, int origin, int span) {
    if (span <= 0) return std::nullopt;
    const int64_t p = position >= origin ? int64_t{position} - origin : int64_t{position};
    const int64_t target = (std::max<int64_t>(lengthMs, 0) / span) * p;
    return target == 0 ? 1 : target;
}

std::optional<SliderMove> SliderMoveForTime(int64_t timeMs, int64_t lengthMs, int origin, int span,
                                            uint32_t durationMs) {
    if (span <= 0) return std::nullopt;
    double q = 0;
    if (lengthMs > 0) q = std::trunc(static_cast<double>(timeMs) / static_cast<double>(lengthMs) * span);
    const int64_t steps = static_cast<int64_t>(std::clamp(q, 0.0, static_cast<double>(span)));
    SliderMove move;
    move.position = static_cast<int>(std::clamp<int64_t>(int64_t{origin} + steps, INT32_MIN, INT32_MAX));
    move.currentMs =
        static_cast<uint32_t>(static_cast<uint64_t>(steps) * durationMs / static_cast<uint64_t>(span));
    return move;
}
