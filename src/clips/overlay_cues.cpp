#include "overlay_cues.h"

#include <algorithm>
#include <cmath>
#include <charconv>

#include "coordinates.h"
#include "gforce_events.h"
#include "local_time.h"
#include "speed_text.h"
#include "track_rules.h"

namespace {
constexpr int64_t kSecondMs = 1000;

int64_t FloorToSecond(int64_t ms) {
    const int64_t s = ms / kSecondMs;
    return (ms % kSecondMs < 0 ? s - 1 : s) * kSecondMs;
}

// The last fix at or before `timeMs` that the map would plot (valid flag, usable coordinates).
const GpsFix* LastValidFix(const ClipTelemetry& t, int64_t timeMs, LatLon& where) {
    if (t.fixes.empty()) return nullptr;
    const uint64_t at = FixIndexForTime(timeMs, t.gpsRate);
    size_t i = static_cast<size_t>(std::min<uint64_t>(at, t.fixes.size() - 1)) + 1;
    while (i-- > 0) {
        if (const auto p = PlottedPosition(t.fixes[i], t.layout)) {
            where = *p;
            return &t.fixes[i];
        }
    }
    return nullptr;
}

double HorizontalG(const GSensorSample& s, uint8_t fullScale) {
    const double x = GSensorAxisToG(s.x, fullScale), y = GSensorAxisToG(s.y, fullScale);
    return std::sqrt(x * x + y * y);
}

// The sample nearest in time to `timeMs` that holds a reading; -1 when there is none.
double NearestHorizontalG(const ClipTelemetry& t, int64_t timeMs) {
    const size_t n = t.gsensor.size();
    if (n == 0 || !(t.gsensorRate > 0)) return -1;
    const double exact = std::max(0.0, double(timeMs) * t.gsensorRate / 1000.0);
    const size_t nearest = static_cast<size_t>(std::min(std::round(exact), double(n - 1)));
    // Outwards from the nearest sample, the earlier one first on a tie.
    for (size_t step = 0; step < n; ++step) {
        const size_t candidates[2] = {nearest >= step ? nearest - step : n, nearest + step};
        bool inside = false;
        for (const size_t i : candidates) {
            if (i >= n) continue;
            inside = true;
            if (!IsMissingGSensorReading(t.gsensor[i])) return HorizontalG(t.gsensor[i], t.gsensorFullScale);
        }
        if (!inside) break;
    }
    return -1;
}

OverlayCue CueAt(const ClipTelemetry& t, int64_t recordingMs, int64_t clipStartMs, int64_t clipEndMs) {
    OverlayCue cue;
    cue.recordingMs = recordingMs;
    cue.startMs = clipStartMs;
    cue.endMs = clipEndMs;
    if (t.startTime != 0)
        cue.dateTime = FormatLocalTime(t.startTime + FloorToSecond(recordingMs) / kSecondMs, "%Y/%m/%d %H:%M:%S");
    LatLon where{};
    if (const GpsFix* fix = LastValidFix(t, recordingMs, where)) {
        cue.speed = SpeedReading(fix->speed, true);
        cue.position = PositionText(where.latitude, where.longitude);
    }
    const double g = NearestHorizontalG(t, recordingMs);
    if (g >= 0) cue.gforce = GForceText(g);
    return cue;
}

std::string Joined(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return a + b;
    return a + "   " + b;
}
} // namespace

std::vector<OverlayCue> BuildOverlayCues(const ClipTelemetry& telemetry, int64_t fromMs, int64_t toMs) {
    std::vector<OverlayCue> cues;
    if (toMs <= fromMs) return cues;
    for (int64_t at = fromMs; at < toMs;) {
        const int64_t next = std::min(FloorToSecond(at) + kSecondMs, toMs);
        cues.push_back(CueAt(telemetry, at, at - fromMs, next - fromMs));
        at = next;
    }
    return cues;
}

std::vector<std::string> CueLines(const OverlayCue& cue) {
    std::vector<std::string> lines;
    for (const std::string& line : {Joined(cue.dateTime, cue.speed), Joined(cue.position, cue.gforce)})
        if (!line.empty()) lines.push_back(line);
    return lines;
}

namespace {
// Locale-free: a desktop in a comma-decimal language still gets "48.139304".
std::string Fixed(double value, int places) {
    char text[400]; // the largest double in fixed notation needs 316 characters
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, places);
    return std::string(text, result.ptr);
}
} // namespace

std::string PositionText(double latitude, double longitude) {
    return Fixed(std::fabs(latitude), 6) + (latitude < 0 ? "S, " : "N, ") + Fixed(std::fabs(longitude), 6) +
           (longitude < 0 ? "W" : "E");
}

std::string GForceText(double horizontalG) {
    return "G " + Fixed(horizontalG, 2);
}
