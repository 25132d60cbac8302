#include "track_file_source.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "file_descriptor.h"
#include "kml_export.h"
#include "recording_telemetry.h"
#include "track_rules.h"

TrackFileRecording TrackFileRecordingOf(const std::filesystem::path& path, const MediaInfo& info,
                                        const RecordingTelemetry& telemetry) {
    TrackFileRecording r;
    r.fileName = path.filename().string();
    r.startTime = info.m_llStartTime;
    r.layout = telemetry.layout;
    r.fixes = telemetry.Fixes();
    r.gsensor = telemetry.GSensor();
    r.vehicles = telemetry.vehicles;
    r.gpsRate = GpsRateOf(info);
    r.gsensorRate = info.m_GsensorAttr[0];
    r.gsensorFullScale = info.m_GsensorAttr[1];
    r.vehicleRate = info.m_uVehicleRate;
    return r;
}

std::string TrackFileName(const std::string& recordingFileName, int64_t startTime,
                          std::string_view extension) {
    std::string name = KmlFileName(recordingFileName, startTime);
    name.resize(name.size() - 4); // ".KML"
    return name + std::string(extension);
}

std::string SaveTrackFile(const std::filesystem::path& path, std::string_view text) {
    std::string temp = (path.parent_path() / ("." + path.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return path.parent_path().string() + ": cannot create a file there: " + std::strerror(errno);
    FileDescriptor file(fd);
    std::string problem;
    if (!WriteAll(fd, text))
        problem = std::string("cannot write: ") + std::strerror(errno);
    else if (!file.Close())
        problem = std::string("cannot close: ") + std::strerror(errno);
    else if (::rename(temp.c_str(), path.c_str()) != 0)
        problem = std::string("cannot rename into place: ") + std::strerror(errno);
    if (!problem.empty()) {
        ::unlink(temp.c_str());
        return path.string() + ": " + problem;
    }
    return {};
}
