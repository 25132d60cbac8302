#include "mp4_boxes.h"

#include "trace.h"

uint32_t ReadBoxHeader(BoundedFile& file, uint64_t& pos, uint32_t& payload) {
    uint8_t header[8];
    file.ReadAt(pos, header, sizeof header);
    const uint32_t size = LoadBE32(header);
    const uint32_t type = LoadBE32(header + 4);
    pos += 8;
    if (size == 1) {
        const uint64_t largeSize = file.ReadBE64(pos);
        pos += 8;
        payload = static_cast<uint32_t>(largeSize) - 16u;
    } else {
        payload = size - 8u;
    }
    return type;
}

uint32_t FindBox(BoundedFile& file, uint32_t type, uint64_t& pos, uint64_t range) {
    uint64_t cursor = pos;
    uint64_t consumed = 0;
    for (;;) {
        if (file.Size() < 8 || cursor > file.Size() - 8) {
            Trace("Get end myoff >m_ullFileSize-8 \n");
            return 0;
        }
        uint32_t payload = 0;
        const uint32_t found = ReadBoxHeader(file, cursor, payload);
        if (found == type) {
            pos = cursor;
            return payload;
        }
        if (found == 0) return 0;
        if (payload > range) {
            Trace("Get end uiSize > range \n");
            return 0;
        }
        // Every step moves at least one header forward, so the walk always ends.
        cursor += payload;
        consumed += uint64_t{payload} + 8;
        if (consumed >= range) return 0;
    }
}

uint32_t FindBoxPath(BoundedFile& file, std::string_view path, uint64_t& pos, uint64_t range) {
    uint64_t cursor = pos;
    uint32_t payload = 0;
    for (size_t i = 0; i + 4 <= path.size(); i += 4) {
        const uint32_t type = LoadBE32(reinterpret_cast<const uint8_t*>(path.data() + i));
        payload = FindBox(file, type, cursor, range);
        if (payload == 0) return 0;
        range = payload;
    }
    pos = cursor;
    return payload;
}

uint32_t FindSampleEntry(BoundedFile& file, uint64_t& pos, uint64_t range) {
    uint64_t cursor = pos;
    uint64_t consumed = 0;
    for (;;) {
        uint32_t payload = 0;
        const uint32_t found = ReadBoxHeader(file, cursor, payload);
        if (found == FourCC("avc1") || found == FourCC("hvc1")) {
            pos = cursor;
            return payload;
        }
        if (payload > range) {
            Trace("Get end uiSize > range \n");
            return 0;
        }
        cursor += payload;
        consumed += uint64_t{payload} + 8;
        if (consumed >= range) return 0;
    }
}
