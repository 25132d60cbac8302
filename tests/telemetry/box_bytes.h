// Hand-built ISO media boxes for reader tests and fuzz seeds: just the boxes the readers look at,
// with no real video, so edge cases can be shaped byte by byte.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace boxes {

using Bytes = std::string;

inline Bytes BE32(uint32_t v) {
    return {static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
            static_cast<char>(v)};
}
inline Bytes BE64(uint64_t v) {
    return BE32(static_cast<uint32_t>(v >> 32)) + BE32(static_cast<uint32_t>(v));
}
inline Bytes BE16(uint16_t v) {
    return {static_cast<char>(v >> 8), static_cast<char>(v)};
}
inline Bytes LE16(uint16_t v) {
    return {static_cast<char>(v), static_cast<char>(v >> 8)};
}
inline Bytes LE32(uint32_t v) {
    return LE16(static_cast<uint16_t>(v)) + LE16(static_cast<uint16_t>(v >> 16));
}
inline Bytes Zeros(size_t n) {
    return Bytes(n, '\0');
}

inline Bytes Box(const Bytes& type, const Bytes& payload) {
    return BE32(static_cast<uint32_t>(payload.size() + 8)) + type + payload;
}
inline Bytes LargeBox(const Bytes& type, const Bytes& payload) {
    return BE32(1) + type + BE64(payload.size() + 16) + payload;
}

inline Bytes Ftyp() {
    return Box("ftyp", "isom" + BE32(0x200) + "isom3gp4");
}

// Movie header: version 0 (32-bit times) or 1 (64-bit times).
inline Bytes Mvhd(uint64_t creation, uint32_t timeScale, uint64_t duration, int version = 0,
                  const char* type = "mvhd") {
    if (version == 1)
        return Box(type, BE32(0x01000000) + BE64(creation) + BE64(creation) + BE32(timeScale) +
                             BE64(duration) + Zeros(80));
    return Box(type, BE32(0) + BE32(static_cast<uint32_t>(creation)) + BE32(static_cast<uint32_t>(creation)) +
                         BE32(timeScale) + BE32(static_cast<uint32_t>(duration)) + Zeros(80));
}

// Handler with the camera's one-byte-length name at byte 24.
inline Bytes Hdlr(const Bytes& handler, const Bytes& name) {
    return Box("hdlr", Zeros(8) + handler + Zeros(12) + static_cast<char>(name.size()) + name);
}

inline Bytes SampleEntry(const Bytes& type, uint16_t width, uint16_t height) {
    return Box(type, Zeros(24) + BE16(width) + BE16(height) + Zeros(50));
}
inline Bytes Stsd(const Bytes& entry) {
    return Box("stsd", BE32(0) + BE32(1) + entry);
}

inline Bytes Stco(const std::vector<uint32_t>& offsets, int64_t announced = -1) {
    Bytes p = BE32(0) +
              BE32(announced < 0 ? static_cast<uint32_t>(offsets.size()) : static_cast<uint32_t>(announced));
    for (uint32_t o : offsets)
        p += BE32(o);
    return Box("stco", p);
}

inline Bytes Track(const Bytes& handler, const Bytes& name, const Bytes& stblChildren,
                   const Bytes& mdhd = Bytes()) {
    return Box("trak", Box("mdia", mdhd + Hdlr(handler, name) + Box("minf", Box("stbl", stblChildren))));
}
inline Bytes VideoTrack(const Bytes& name, uint16_t width = 320, uint16_t height = 240,
                        const Bytes& mdhd = Bytes()) {
    return Track("vide", name, Stsd(SampleEntry("avc1", width, height)) + Stco({}), mdhd);
}
inline Bytes MetaTrack(const std::vector<uint32_t>& offsets, int64_t announced = -1) {
    return Track("meta", "meta", Stco(offsets, announced));
}

// "gps " box of layout 4: entry count, then (offset, size) pairs.
inline Bytes GpsBox(const std::vector<uint32_t>& offsets, int64_t announced = -1) {
    Bytes p = BE32(0) +
              BE32(announced < 0 ? static_cast<uint32_t>(offsets.size()) : static_cast<uint32_t>(announced));
    for (uint32_t o : offsets)
        p += BE32(o) + BE32(156);
    return Box("gps ", p);
}

// Seconds since 1904 for a Unix time.
constexpr uint64_t MacTime(int64_t unixTime) {
    return static_cast<uint64_t>(unixTime + 2082844800);
}

inline void WriteFile(const std::filesystem::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A raw 32-byte layout-0 GPS record (NMEA coordinates).
inline Bytes RawFix(double lat, double lon, uint8_t yy, uint8_t mo, uint8_t dd, uint8_t hh, uint8_t mi,
                    uint8_t ss, uint8_t flags = 1) {
    Bytes b(32, '\0');
    std::memcpy(b.data(), &lat, 8);
    std::memcpy(b.data() + 8, &lon, 8);
    const uint8_t t[] = {yy, mo, dd, hh, mi, ss, 0, flags};
    std::memcpy(b.data() + 22, t, sizeof t);
    return b;
}

} // namespace boxes
