#include "gpx_writer.h"

#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "coordinates.h"
#include "kml_export.h"
#include "probe_json.h"

namespace probe {

namespace {
std::optional<LatLon> Position(const GpsFix& fix, bool rawNmea) {
    if (!fix.IsValid()) return std::nullopt;
    if (rawNmea) return RawFixToDegrees(fix);
    return LatLon{fix.latitude, fix.longitude};
}

// The camera's clock is local wall-clock time, so the time carries no zone.
std::string FixTime(const GpsFix& fix) {
    if (fix.month < 1 || fix.month > 12 || fix.day < 1 || fix.day > 31 || fix.hour > 23 || fix.minute > 59 ||
        fix.second > 59)
        return {};
    char text[40];
    std::snprintf(text, sizeof text, "<time>%04d-%02u-%02uT%02u:%02u:%02u</time>", 2000 + fix.year, fix.month,
                  fix.day, fix.hour, fix.minute, fix.second);
    return text;
}

void WriteTrackPoint(std::ostream& out, const GpsFix& fix, const LatLon& where) {
    out << "<trkpt lat=\"" << JsonNumber(where.latitude) << "\" lon=\"" << JsonNumber(where.longitude)
        << "\">"
        << "<ele>" << fix.altitude << "</ele>" << FixTime(fix) << "</trkpt>\n";
}
} // namespace

void WriteGpx(std::ostream& out,
              const std::vector<std::pair<std::filesystem::path, ProbeTrack>>& recordings) {
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<gpx version=\"1.1\" creator=\"veltrix-probe\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (const auto& [path, track] : recordings) {
        out << "<trk><name>" << XmlName(path.filename().string()) << "</name><trkseg>\n";
        for (const GpsFix& fix : track.fixes) {
            const auto where = Position(fix, track.rawNmea);
            if (where && std::isfinite(where->latitude) && std::isfinite(where->longitude))
                WriteTrackPoint(out, fix, *where);
        }
        out << "</trkseg></trk>\n";
    }
    out << "</gpx>\n";
}

} // namespace probe
