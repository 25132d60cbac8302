// A G-sensor series with planted events just below and above each threshold, at full scale 2
// (one step of a word = 1/64 G) and 20 samples per second (one period = 50 ms).
#pragma once

#include <cstdint>
#include <vector>

#include "records.h"

namespace planted {

constexpr uint8_t kRate = 20;
constexpr uint8_t kFullScale = 2;
constexpr int16_t kOneG = 64;
constexpr int16_t kJustBelowHarsh = 25;  // 0.390625 G
constexpr int16_t kJustAboveHarsh = 26;  // 0.40625 G
constexpr int16_t kJustBelowImpact = 76; // 1.1875 G
constexpr int16_t kJustAboveImpact = 77; // 1.203125 G
constexpr int16_t kMissing = 128;

// Builds the series sample by sample; the car at rest reads 1 G on z.
class Series {
  public:
    Series& Quiet(int count) { return Repeat({0, 0, kOneG}, count); }
    Series& Repeat(GSensorSample s, int count) {
        for (int i = 0; i < count; ++i)
            m_samples.push_back(s);
        return *this;
    }
    Series& Forward(int16_t x, int count) { return Repeat({x, 0, kOneG}, count); }
    // Index the next sample gets.
    int Next() const { return static_cast<int>(m_samples.size()); }
    const std::vector<GSensorSample>& Samples() const { return m_samples; }

  private:
    std::vector<GSensorSample> m_samples;
};

} // namespace planted
