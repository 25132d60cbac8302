#include "kml_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <string>

#include "local_time.h"
#include "track_rules.h"
#include "utf8_text.h"

namespace {

constexpr std::string_view kHeadStart = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                        "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n"
                                        "  <Document>\n"
                                        "    <name>";
constexpr std::string_view kHeadStyle = "    <Style id=\"blueLine\">\n"
                                        "      <LineStyle>\n"
                                        "        <color>ffff0000</color>\n"
                                        "        <width>4</width>\n"
                                        "      </LineStyle>\n"
                                        "    </Style>\n"
                                        "    <Placemark>\n"
                                        "      <name>CAR PATH</name>\n"
                                        "      <description>GPS Path of Car DV ";
constexpr std::string_view kHeadLine = "</description>\n"
                                       "      <styleUrl>#blueLine</styleUrl>\n"
                                       "      <LineString>\n"
                                       "        <altitudeMode>relative</altitudeMode>\n"
                                       "        <coordinates>\n";
constexpr std::string_view kTail = "\n"
                                   "        </coordinates>\n"
                                   "      </LineString>\n"
                                   "    </Placemark>\n"
                                   "  </Document>\n"
                                   "</kml>\n";
constexpr size_t kFlushSize = 64 * 1024;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// Characters XML 1.0 allows in a document.
bool IsXmlChar(char32_t cp) {
    if (cp < 0x20) return cp == 0x09 || cp == 0x0A || cp == 0x0D;
    return cp != 0xFFFE && cp != 0xFFFF;
}

void AppendFixed(std::string& out, double value) {
    char text[400]; // "%f" of the largest double needs 316 characters
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    out.append(text, result.ptr);
}

std::filesystem::path TempPathFor(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
    const std::string name = "." + path.filename().native() + "." + std::to_string(::getpid()) + "." +
                             std::to_string(counter++) + ".tmp";
    return path.parent_path() / name;
}

} // namespace

std::string KmlFileName(const std::string& recordingFileName, int64_t startTime) {
    const size_t dot = recordingFileName.rfind('.');
    const std::string stem =
        dot == std::string::npos || dot == 0 ? recordingFileName : recordingFileName.substr(0, dot);
    return stem + FormatLocalTime(startTime, "_%Y_%m_%d_%H-%M-%S") + ".KML";
}

std::string ToValidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const size_t len = DecodeUtf8(bytes, i, cp);
        if (len == 0 || !IsXmlChar(cp)) {
            out += kReplacement;
            i += len == 0 ? 1 : len;
            continue;
        }
        out.append(bytes.substr(i, len));
        i += len;
    }
    return out;
}

std::string EscapeXml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string XmlName(std::string_view bytes) {
    return EscapeXml(ToValidUtf8(bytes));
}

std::string KmlSecondDescription(const KmlRecording& recording) {
    std::string_view folder = recording.subfolder;
    while (!folder.empty() && folder.back() == '/')
        folder.remove_suffix(1);
    std::string relative = std::string(folder);
    if (!relative.empty()) relative += '/';
    relative += recording.fileName;
    return "\"" + XmlName(relative) + "\"" + FormatLocalTime(recording.startTime, " %Y/%m/%d %H:%M:%S");
}

std::string KmlPointLine(double longitude, double latitude, int32_t altitude) {
    std::string line;
    AppendFixed(line, longitude);
    line += ',';
    AppendFixed(line, latitude);
    line += ',';
    line += std::to_string(altitude);
    line += '\n';
    return line;
}

CKmlFile::~CKmlFile() {
    Discard();
}

bool CKmlFile::Open(const std::filesystem::path& path) {
    Discard();
    m_bFailed = false;
    m_path = path;
    for (int attempt = 0; attempt < 100 && m_fd < 0; ++attempt) {
        m_tempPath = TempPathFor(path);
        m_fd = ::open(m_tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (m_fd < 0 && errno != EEXIST) break;
    }
    if (m_fd < 0) m_tempPath.clear();
    return m_fd >= 0;
}

bool CKmlFile::WriteHeader(const std::string& name, const std::string& description,
                           const std::string& secondDescription) {
    if (m_fd < 0) return false;
    std::string head(kHeadStart);
    head += name + "</name>\n";
    Write(head);
    Write("\t<description>" + description + "</description>\n");
    std::string style(kHeadStyle);
    style += secondDescription;
    style += kHeadLine;
    return Write(style);
}

bool CKmlFile::WritePoint(double longitude, double latitude, int32_t altitude) {
    if (m_fd < 0) return false;
    return Write(KmlPointLine(longitude, latitude, altitude));
}

bool CKmlFile::Close() {
    if (m_fd < 0) return false;
    Write(kTail);
    Flush();
    if (!m_bFailed && ::fsync(m_fd) != 0) m_bFailed = true;
    const int fd = m_fd;
    m_fd = -1;
    if (::close(fd) != 0) m_bFailed = true;
    if (!m_bFailed && ::rename(m_tempPath.c_str(), m_path.c_str()) != 0) m_bFailed = true;
    if (m_bFailed) {
        ::unlink(m_tempPath.c_str());
        m_tempPath.clear();
        return false;
    }
    m_tempPath.clear();
    return true;
}

bool CKmlFile::Write(std::string_view text) {
    if (m_fd < 0 || m_bFailed) return false;
    m_buffer.append(text);
    return m_buffer.size() < kFlushSize || Flush();
}

bool CKmlFile::Flush() {
    std::string_view data = m_buffer;
    while (!m_bFailed && !data.empty()) {
        const ssize_t n = ::write(m_fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            m_bFailed = true;
        else
            data.remove_prefix(static_cast<size_t>(n));
    }
    m_buffer.clear();
    return !m_bFailed;
}

void CKmlFile::Discard() {
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
    if (!m_tempPath.empty()) ::unlink(m_tempPath.c_str());
    m_tempPath.clear();
    m_buffer.clear();
}

std::optional<std::filesystem::path> WriteKmlExport(const std::filesystem::path& folder,
                                                    const KmlRecording& recording, TelemetryLayout layout,
                                                    const std::vector<GpsFix>& fixes) {
    const std::filesystem::path path = folder / KmlFileName(recording.fileName, recording.startTime);
    CKmlFile file;
    if (!file.Open(path)) return std::nullopt;
    file.WriteHeader(XmlName(recording.fileName), std::string(), KmlSecondDescription(recording));
    if (HasTelemetryLayout(layout)) {
        for (const GpsFix& fix : fixes) {
            if (const auto point = PlottedPosition(fix, layout))
                file.WritePoint(point->longitude, point->latitude, fix.altitude);
        }
    }
    if (!file.Close()) return std::nullopt;
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full;
}
