#include "clip_marks.h"

#include <algorithm>

void ClipMarks::SetStart(int64_t ms) {
    m_start = std::max<int64_t>(ms, 0);
    if (m_end && *m_end <= *m_start) m_end.reset();
}

void ClipMarks::SetEnd(int64_t ms) {
    m_end = std::max<int64_t>(ms, 0);
    if (m_start && *m_start >= *m_end) m_start.reset();
}

void ClipMarks::Clear() {
    m_start.reset();
    m_end.reset();
}
