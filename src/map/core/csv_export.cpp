#include "csv_export.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "coordinates.h"
#include "gforce_events.h"
#include "kml_export.h"
#include "local_time.h"
#include "track_rules.h"

namespace {
constexpr const char* kHeader =
    "recording,time_ms,local_time,g_x,g_y,g_z,g_h,latitude,longitude,altitude_m,gps_speed_kmh,heading_deg,"
    "vehicle_speed_kmh,engine_rpm,power_pct,torque_pct,water_temp_c,oil_temp_c,outside_temp_c,"
    "accelerator,brake,gear,steering,turn_lights\r\n";
constexpr int kFixColumns = 5;
constexpr int kVehicleColumns = 12;

std::string Number(double value) {
    if (!std::isfinite(value)) return {};
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

void Empty(std::string& row, int count) {
    row.append(static_cast<size_t>(count), ',');
}

// The record nearest to `timeMs` among `count` records at `rate` a second.
size_t NearestIndex(double timeMs, double rate, size_t count) {
    const double index = std::floor(timeMs * rate / 1000.0 + 0.5);
    return index >= static_cast<double>(count - 1) ? count - 1 : static_cast<size_t>(index);
}

std::string LocalTime(int64_t start, double timeMs) {
    const auto ms = static_cast<int64_t>(timeMs);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d", static_cast<int>(ms % 1000));
    return FormatLocalTime(start + ms / 1000, "%Y-%m-%d %H:%M:%S") + fraction;
}

void AppendFix(std::string& row, const TrackFileRecording& r, double timeMs) {
    if (r.fixes.empty() || !(r.gpsRate > 0)) return Empty(row, kFixColumns);
    const GpsFix& fix = r.fixes[NearestIndex(timeMs, r.gpsRate, r.fixes.size())];
    const auto where = PlottedPosition(fix, r.layout);
    if (!where) return Empty(row, kFixColumns);
    row += ',' + Number(where->latitude) + ',' + Number(where->longitude) + ',' +
           std::to_string(fix.altitude) + ',' + std::to_string(fix.speed) + ',' +
           std::to_string(fix.heading * 2);
}

std::string Byte(uint8_t value) {
    return value == 255 ? std::string() : std::to_string(value);
}
std::string Word(uint16_t value) {
    return value == 65535 ? std::string() : std::to_string(value);
}
std::string Temperature(uint8_t value, int zero, double perStep) {
    return value == 255 || value < zero ? std::string() : Number((value - zero) / perStep);
}

void AppendVehicle(std::string& row, const TrackFileRecording& r, double timeMs) {
    if (r.vehicles.empty() || r.vehicleRate == 0) return Empty(row, kVehicleColumns);
    const VehicleSample& v = r.vehicles[NearestIndex(timeMs, r.vehicleRate, r.vehicles.size())];
    const std::string fields[kVehicleColumns] = {
        v.speed == 65535 ? std::string() : Number(v.speed / 62.0),
        Word(v.engineSpeed),
        Byte(v.power),
        Byte(v.torque),
        Temperature(v.waterTemperature, 48, 1),
        Temperature(v.oilTemperature, 48, 1),
        Temperature(v.outsideTemperature, 80, 2),
        Word(v.accelerator),
        Byte(v.brake),
        Byte(v.gear),
        Byte(v.steeringAngle),
        Byte(v.turnLights),
    };
    for (const std::string& field : fields)
        row += ',' + field;
}

void AppendSample(std::string& row, const GSensorSample& s, uint8_t fullScale) {
    if (IsMissingGSensorReading(s)) return Empty(row, 4);
    const double x = GSensorAxisToG(s.x, fullScale), y = GSensorAxisToG(s.y, fullScale),
                 z = GSensorAxisToG(s.z, fullScale);
    row += ',' + Number(x) + ',' + Number(y) + ',' + Number(z) + ',' + Number(std::sqrt(x * x + y * y));
}
} // namespace

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

void WriteTelemetryCsv(std::ostream& out, std::span<const TrackFileRecording> recordings) {
    out << kHeader;
    std::string row;
    for (const TrackFileRecording& r : recordings) {
        if (r.gsensorRate == 0) continue;
        const std::string name = CsvField(ToValidUtf8(r.fileName));
        for (size_t i = 0; i < r.gsensor.size(); ++i) {
            const double timeMs = static_cast<double>(i) * 1000.0 / r.gsensorRate;
            row = name + ',' + Number(timeMs) + ',' + LocalTime(r.startTime, timeMs);
            AppendSample(row, r.gsensor[i], r.gsensorFullScale);
            AppendFix(row, r, timeMs);
            AppendVehicle(row, r, timeMs);
            row += "\r\n";
            out << row;
        }
    }
}
