// The span a clip is cut from: a start and an end set at the playback time (keys I and O), kept
// while the same recording stays open.
#pragma once

#include <cstdint>
#include <optional>

class ClipMarks {
  public:
    // A start at or after the end drops the end, and an end at or before the start drops the
    // start: the marks always describe a span that can be cut.
    void SetStart(int64_t ms);
    void SetEnd(int64_t ms);
    void Clear();

    std::optional<int64_t> Start() const { return m_start; }
    std::optional<int64_t> End() const { return m_end; }
    // Both set (and so the start before the end).
    bool Complete() const { return m_start && m_end; }

  private:
    std::optional<int64_t> m_start;
    std::optional<int64_t> m_end;
};
