#include "gpx_export.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>

#include "coordinates.h"
#include "kml_export.h"

namespace {
std::optional<LatLon> Position(const GpsFix& fix, bool rawNmea) {
    if (!fix.IsValid()) return std::nullopt;
    if (rawNmea) return RawFixToDegrees(fix);
    return LatLon{fix.latitude, fix.longitude};
}

// Shortest text that reads back as the same double.
std::string Number(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
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

// Every number goes in as text already: a stream whose locale groups digits changes nothing.
void WriteTrackPoint(std::ostream& out, const GpsFix& fix, const LatLon& where) {
    out << "<trkpt lat=\"" << Number(where.latitude) << "\" lon=\"" << Number(where.longitude) << "\">"
        << "<ele>" << std::to_string(fix.altitude) << "</ele>" << FixTime(fix) << "</trkpt>\n";
}
} // namespace

void WriteGpx(std::ostream& out, std::span<const TrackFileRecording> recordings, std::string_view creator) {
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<gpx version=\"1.1\" creator=\"" << EscapeXml(creator)
        << "\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n";
    for (const TrackFileRecording& recording : recordings) {
        out << "<trk><name>" << XmlName(recording.fileName) << "</name><trkseg>\n";
        for (const GpsFix& fix : recording.fixes) {
            const auto where = Position(fix, recording.layout == kLayoutBlocks);
            if (where && std::isfinite(where->latitude) && std::isfinite(where->longitude))
                WriteTrackPoint(out, fix, *where);
        }
        out << "</trkseg></trk>\n";
    }
    out << "</gpx>\n";
}
