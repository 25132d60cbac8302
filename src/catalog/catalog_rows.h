// The rows behind the group list and the file list.
#pragma once

#include <cstdint>

struct GroupRow {
    int32_t m_nGroup = 0;      // 0, 1, 2 ... in catalog order
    int32_t m_nFirstEntry = 0; // index of the group's first entry
    int32_t m_nFileCount = 0;
    int64_t m_llLengthMs = 0;  // the larger of the summed front and summed rear durations
    uint64_t m_ullSize = 0;    // sum of the file sizes
    uint8_t m_byLockMarks = 0; // OR of the entries' lock marks
    int32_t m_nMarked = 0;     // set by MarkGroups before every file operation
};

struct FileRow {
    int32_t m_nGroup = 0;
    int32_t m_nPosition = 0; // within the group, from 0
    int32_t m_nEntry = 0;
    uint64_t m_ullSize = 0;
    uint32_t m_uDurationMs = 0;
};
