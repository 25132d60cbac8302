// KML export of the track of one recording: one line string with one coordinate per plotted
// fix, no repeat filter. Plain C++, shared by the viewer's KML command and `veltrix-probe --kml`.
// The document is UTF-8 whatever bytes the names hold, its numbers never follow the locale, and
// it reaches its final name only when every byte was written and the file closed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "records.h"

// What the export needs to know about the recording besides its fixes.
struct KmlRecording {
    std::string fileName;  // with extension, as the file system spells it (any bytes)
    std::string subfolder; // below the chosen source, "/"-separated; empty in the source folder
    int64_t startTime = 0; // seconds since 1970, local wall clock
};

// "<stem>_%Y_%m_%d_%H-%M-%S.KML": the recording's name without its extension and that dot.
std::string KmlFileName(const std::string& recordingFileName, int64_t startTime);

// `bytes` as UTF-8: every byte that does not begin a well-formed sequence, and every character
// XML 1.0 forbids, becomes U+FFFD.
std::string ToValidUtf8(std::string_view bytes);
// Text for an XML element: &, <, >, " escaped.
std::string EscapeXml(std::string_view text);
// A name as it goes into the document: valid UTF-8, escaped.
std::string XmlName(std::string_view bytes);

// Second description of the header: "folder/name" in double quotes (the bare name in the source
// folder itself), then the start time as " %Y/%m/%d %H:%M:%S"; names escaped.
std::string KmlSecondDescription(const KmlRecording& recording);

// "%f,%f,%d" (longitude, latitude, altitude) as the C locale writes it.
std::string KmlPointLine(double longitude, double latitude, int32_t altitude);

// The KML file: created under a temporary name in the target folder, renamed over the target
// by Close. Any failed step (create, write, close, rename) makes Close return false and leaves
// no file behind; an existing file of the target name then stays as it was.
class CKmlFile {
  public:
    CKmlFile() = default;
    ~CKmlFile();
    CKmlFile(const CKmlFile&) = delete;
    CKmlFile& operator=(const CKmlFile&) = delete;

    bool Open(const std::filesystem::path& path);
    // Lines 1 to 18 of the document; the texts are UTF-8 and escaped already.
    bool WriteHeader(const std::string& name, const std::string& description,
                     const std::string& secondDescription);
    bool WritePoint(double longitude, double latitude, int32_t altitude);
    // Writes the closing lines, closes and renames; true when the document is complete on disk.
    bool Close();

  private:
    bool Write(std::string_view text);
    bool Flush();
    void Discard();

    int m_fd = -1;
    bool m_bFailed = false;
    std::filesystem::path m_path;
    std::filesystem::path m_tempPath;
    std::string m_buffer;
};

// Writes the KML document of `recording` (its fixes as `layout` stores them) into `folder`
// under KmlFileName. The full path written, or empty when anything failed.
std::optional<std::filesystem::path> WriteKmlExport(const std::filesystem::path& folder,
                                                    const KmlRecording& recording, TelemetryLayout layout,
                                                    const std::vector<GpsFix>& fixes);
