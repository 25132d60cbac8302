// Base of the container readers (MP4/MOV, AVI, MPEG-TS). The catalog creates one reader
// per file by extension, uses it for that file and destroys it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "records.h"

// Status of a file as seen right after a reader opened it.
struct FileStatus {
    int64_t m_ctime = 0; // creation (birth) time, seconds since 1970; modification time where unknown
    int64_t m_mtime = 0;
    int64_t m_atime = 0;
    uint64_t m_size = 0;
    bool m_bReadOnly = false;
    bool m_bHidden = false;
    std::filesystem::path m_szFullName;
};

// Fills `status` from the file system; false when the file cannot be examined.
bool ReadFileStatus(const std::filesystem::path& path, FileStatus& status);

class COrvexVideoParser {
  public:
    virtual ~COrvexVideoParser() = default;
    // Where the results of Parse go; kept across Parse calls.
    virtual void SetMediaInfo(MediaInfo* info) { m_pMediaInfo = info; }
    // 0 on success, -1 on failure. Never throws.
    virtual int Parse(const std::filesystem::path& path) {
        (void)path;
        return 0;
    }
    // Filled with the status of the file right after Parse opened it; kept across Parse calls.
    virtual void SetFileStatus(FileStatus* status) { m_pFileStatus = status; }

  protected:
    // Clears what every reader learns about one file (not the two pointers above).
    void ResetReaderState();
    // Copy what this reader learned into the MediaInfo set by SetMediaInfo, if any: the file
    // facts and, separately, the layout with its vehicle rate (which the AVI reader leaves alone).
    void StoreReaderState() const;
    void StoreLayout(TelemetryLayout layout) const;

    MediaInfo* m_pMediaInfo = nullptr;
    FileStatus* m_pFileStatus = nullptr;
    int64_t m_llStartTime = 0; // seconds since 1970, local wall clock
    bool m_bStartTimeKnown = false;
    int64_t m_llDurationSec = 0; // AVI only
    uint32_t m_uDurationMs = 0;
    uint64_t m_ullGpsOffset = 0;
    uint32_t m_uGpsSize = 0;
    uint64_t m_ullGsensorOffset = 0;
    uint32_t m_uGsensorSize = 0;
    uint16_t m_wWidth = 0;
    uint16_t m_wHeight = 0;
    uint64_t m_ullFileSize = 0;
    uint8_t m_GpsAttr[4] = {};
    uint8_t m_GsensorAttr[4] = {};
    uint32_t m_uVehicleRate = 0;
};
