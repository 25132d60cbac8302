// In-memory telemetry records. GpsFix, GSensorSample and VehicleSample are also
// file formats (copied byte for byte from some layouts), hence the exact sizes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#pragma pack(push, 1)
struct GpsFix {
    double latitude;  // decimal degrees, north positive (NMEA form in a raw layout-0 block)
    double longitude; // decimal degrees, east positive (NMEA form in a raw layout-0 block)
    int32_t altitude; // metres
    uint16_t speed;   // km/h
    uint8_t year;     // years since 2000
    uint8_t month;
    uint8_t day;
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    uint8_t heading; // units of 2 degrees
    uint8_t flags;   // bit 0: valid
    uint8_t padding[2];

    bool IsValid() const { return (flags & 1) != 0; }
};

struct GSensorSample {
    int16_t x;
    int16_t y;
    int16_t z;
};

struct VehicleSample {
    uint8_t hour;
    uint8_t minute;
    uint8_t second;
    uint8_t day;
    uint8_t month; // 255: date and time unavailable
    uint16_t year; // unaligned in the file record
    uint8_t steeringAngle;
    uint8_t reserved8;
    uint8_t outsideTemperature;
    uint8_t waterTemperature;
    uint8_t oilTemperature;
    uint8_t gear;
    uint8_t turnLights;
    uint16_t accelerator;
    uint8_t power;
    uint8_t torque;
    uint16_t engineSpeed;
    uint16_t speed; // value / 62 km/h
    uint8_t brake;
    uint8_t reserved23;
    uint32_t longitude; // sign-magnitude, 1/3600000 degree; bit 31 set: east
    uint32_t latitude;  // sign-magnitude, 1/3600000 degree; bit 31 set: north
    uint8_t reserved32[24];
};
#pragma pack(pop)

static_assert(sizeof(GpsFix) == 32);
static_assert(offsetof(GpsFix, altitude) == 16 && offsetof(GpsFix, speed) == 20);
static_assert(offsetof(GpsFix, year) == 22 && offsetof(GpsFix, heading) == 28 &&
              offsetof(GpsFix, flags) == 29);
static_assert(sizeof(GSensorSample) == 6);
static_assert(sizeof(VehicleSample) == 56);
static_assert(offsetof(VehicleSample, year) == 5 && offsetof(VehicleSample, steeringAngle) == 7);
static_assert(offsetof(VehicleSample, outsideTemperature) == 9 && offsetof(VehicleSample, accelerator) == 14);
static_assert(offsetof(VehicleSample, engineSpeed) == 18 && offsetof(VehicleSample, speed) == 20);
static_assert(offsetof(VehicleSample, brake) == 22 && offsetof(VehicleSample, longitude) == 24);
static_assert(offsetof(VehicleSample, latitude) == 28 && offsetof(VehicleSample, reserved32) == 32);

// One entry of a telemetry chunk list.
struct ChunkRef {
    int32_t index;
    uint64_t offset;
};

// How the telemetry of a recording is stored; any other value: no readable telemetry.
using TelemetryLayout = uint32_t;
enum : TelemetryLayout {
    kLayoutBlocks = 0,    // "gps0"/"gsen" blocks by offset and size (MP4 top level, AVI chunks)
    kLayoutJtdMeta = 1,   // "JTD_" video handler, meta track, 88-byte records
    kLayoutVideMeta = 2,  // "Vide" video handler, meta track, 148-byte records
    kLayoutTailBoxes = 3, // boxes in the last 5120 bytes
    kLayoutGpsBox = 4,    // "gps " box in the movie box, 140-byte records
    kLayoutNone = 5,      // not recognised
};

// What a container reader learned about one recording. All zero until a reader fills it.
struct MediaInfo {
    uint64_t m_ullGpsOffset = 0;
    uint32_t m_uGpsSize = 0;
    uint64_t m_ullGsensorOffset = 0;
    uint32_t m_uGsensorSize = 0;
    uint16_t m_wWidth = 0;
    uint16_t m_wHeight = 0;
    int64_t m_llStartTime = 0;   // seconds since 1970, local wall clock
    int64_t m_llDurationSec = 0; // AVI only
    uint32_t m_uDurationMs = 0;
    uint64_t m_ullFileSize = 0;
    uint8_t m_GpsAttr[4] = {};     // [0]: fixes per second
    uint8_t m_GsensorAttr[4] = {}; // [0]: samples per second, [1]: full scale in G (0: 8)
    uint32_t m_uVehicleRate = 0;
    TelemetryLayout m_uLayout = 0;
    std::vector<ChunkRef> m_Chunks1;
    std::vector<ChunkRef> m_Chunks2;
    std::vector<ChunkRef> m_Chunks4;
    // A transport stream's m_Chunks2 was collected by a whole walk (possibly empty: no records).
    bool m_bChunks2Collected = false;
};
