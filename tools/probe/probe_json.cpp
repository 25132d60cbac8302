#include "probe_json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "coordinates.h"
#include "local_time.h"

namespace probe {

namespace {
template <typename T, typename F> std::string JsonArray(const std::vector<T>& items, F&& itemJson) {
    std::string out = "[";
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) out += ',';
        out += itemJson(items[i]);
    }
    return out + ']';
}

std::string Field(const char* name, const std::string& value) {
    return JsonString(name) + ':' + value;
}
std::string Field(const char* name, uint64_t value) {
    return Field(name, std::to_string(value));
}

std::string FixTime(const GpsFix& fix) {
    char text[32];
    std::snprintf(text, sizeof text, "%02u-%02u-%02u %02u:%02u:%02u", fix.year, fix.month, fix.day, fix.hour,
                  fix.minute, fix.second);
    return text;
}

std::string Pair(uint64_t a, uint64_t b) {
    return '[' + std::to_string(a) + ',' + std::to_string(b) + ']';
}
} // namespace

std::string JsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string FixJson(const GpsFix& fix, bool rawNmea) {
    std::string lat = JsonNumber(fix.latitude), lon = JsonNumber(fix.longitude);
    if (rawNmea) {
        const auto degrees = RawFixToDegrees(fix);
        lat = degrees ? JsonNumber(degrees->latitude) : "null";
        lon = degrees ? JsonNumber(degrees->longitude) : "null";
    }
    return '[' + lat + ',' + lon + ',' + std::to_string(fix.altitude) + ',' + std::to_string(fix.speed) +
           ',' + JsonString(FixTime(fix)) + ',' + std::to_string(fix.heading * 2) + ',' +
           std::to_string(fix.flags) + ']';
}

std::string GSensorJson(const GSensorSample& s, uint8_t fullScale) {
    return '[' + JsonNumber(GSensorAxisToG(s.x, fullScale)) + ',' +
           JsonNumber(GSensorAxisToG(s.y, fullScale)) + ',' + JsonNumber(GSensorAxisToG(s.z, fullScale)) +
           ']';
}

std::string VehicleJson(const VehicleSample& v) {
    const std::pair<const char*, uint64_t> fields[] = {
        {"hour", v.hour},
        {"minute", v.minute},
        {"second", v.second},
        {"day", v.day},
        {"month", v.month},
        {"year", v.year},
        {"steering_angle", v.steeringAngle},
        {"outside_temperature", v.outsideTemperature},
        {"water_temperature", v.waterTemperature},
        {"oil_temperature", v.oilTemperature},
        {"gear", v.gear},
        {"turn_lights", v.turnLights},
        {"accelerator", v.accelerator},
        {"power", v.power},
        {"torque", v.torque},
        {"engine_speed", v.engineSpeed},
        {"speed", v.speed},
        {"brake", v.brake},
        {"longitude", v.longitude},
        {"latitude", v.latitude},
    };
    std::string out = "{";
    for (const auto& [name, value] : fields)
        out += (out.size() > 1 ? "," : "") + Field(name, value);
    return out + '}';
}

std::string RecordingJson(const std::filesystem::path& path, bool accepted, const MediaInfo& info,
                          const ProbeTrack* track) {
    const std::string chunks = '{' + Field("1", info.m_Chunks1.size()) + ',' +
                               Field("2", info.m_Chunks2.size()) + ',' + Field("4", info.m_Chunks4.size()) +
                               '}';
    std::string out =
        '{' + Field("path", JsonString(path.string())) + ',' +
        Field("accepted", std::string(accepted ? "true" : "false")) + ',' + Field("layout", info.m_uLayout) +
        ',' + Field("width", info.m_wWidth) + ',' + Field("height", info.m_wHeight) + ',' +
        Field("duration_ms", info.m_uDurationMs) + ',' +
        Field("start_time", std::to_string(info.m_llStartTime)) + ',' +
        Field("start_local", JsonString(FormatLocalTime(info.m_llStartTime, "%Y-%m-%d %H:%M:%S"))) + ',' +
        Field("file_size", info.m_ullFileSize) + ',' + Field("gps_rate", info.m_GpsAttr[0]) + ',' +
        Field("gsensor_rate", info.m_GsensorAttr[0]) + ',' + Field("gsensor_scale", info.m_GsensorAttr[1]) +
        ',' + Field("vehicle_rate", info.m_uVehicleRate) + ',' +
        Field("gps_block", Pair(info.m_ullGpsOffset, info.m_uGpsSize)) + ',' +
        Field("gsensor_block", Pair(info.m_ullGsensorOffset, info.m_uGsensorSize)) + ',' +
        Field("chunks", chunks);
    if (track) {
        const uint8_t scale = info.m_GsensorAttr[1];
        out += ',' + Field("fixes", JsonArray(track->fixes,
                                              [&](const GpsFix& f) { return FixJson(f, track->rawNmea); }));
        out += ',' + Field("gsensor", JsonArray(track->gsensor, [&](const GSensorSample& s) {
                               return GSensorJson(s, scale);
                           }));
        out += ',' + Field("vehicle", JsonArray(track->vehicles, VehicleJson));
    }
    return out + '}';
}

} // namespace probe
