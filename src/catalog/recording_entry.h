// One recording file of the catalog.
#pragma once

#include <cstdint>
#include <string>

#include "records.h"

// Lock marks (low byte of RecordingEntry::m_nLockMarks); the lists show them as icons 0..3.
enum : int32_t {
    kLockMarkG = 1, // read-only as found on the card, or a "G" in the name of a singly added file
    kLockMarkM = 2, // locked by the user in this viewer
};

struct RecordingEntry {
    int32_t m_nNewGroup = 0;    // 1 when this entry opens a group in the sorted catalog
    int32_t m_nLockMarks = 0;   // kLockMarkG | kLockMarkM
    std::string m_strFileName;  // name with extension, no folder (native bytes, normally UTF-8)
    std::string m_strFolder;    // scan root ending with "/", or the folder of a singly added file as given
    std::string m_strSubfolder; // path below m_strFolder, each level followed by "/"; empty at the root
    MediaInfo m_MediaInfo;
};
