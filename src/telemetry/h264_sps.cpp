// H.264 sequence parameter set: picture size and frame rate. Every count read from the stream is
// checked before it is used, so hostile input fails instead of overflowing or looping.
#include <cstdint>
#include <vector>

#include "ts_demux.h"

namespace {

class BitReader {
  public:
    BitReader(const std::vector<uint8_t>& bytes, size_t startBit) : m_Bytes(bytes), m_uBit(startBit) {}

    bool Ok() const { return m_bOk; }
    void Fail() { m_bOk = false; }

    uint64_t Bits(int count) {
        uint64_t value = 0;
        for (int i = 0; i < count; ++i) {
            if (m_uBit >= m_Bytes.size() * 8) {
                m_bOk = false;
                return 0;
            }
            value = value << 1 | ((m_Bytes[m_uBit / 8] >> (7 - m_uBit % 8)) & 1);
            ++m_uBit;
        }
        return value;
    }
    bool Flag() { return Bits(1) != 0; }

    // Exp-Golomb ue(v); codes longer than 32 bits are not H.264 and fail.
    uint64_t Ue() {
        int zeros = 0;
        while (m_bOk && Bits(1) == 0)
            if (++zeros > 31) {
                m_bOk = false;
                return 0;
            }
        return m_bOk ? ((uint64_t(1) << zeros) - 1 + Bits(zeros)) : 0;
    }
    // ue(v) that must not exceed `max`.
    uint64_t Ue(uint64_t max) {
        const uint64_t v = Ue();
        if (v > max) m_bOk = false;
        return v;
    }
    int64_t Se() {
        const uint64_t k = Ue();
        return (k & 1) ? int64_t((k + 1) / 2) : -int64_t(k / 2);
    }

  private:
    const std::vector<uint8_t>& m_Bytes;
    size_t m_uBit;
    bool m_bOk = true;
};

std::vector<uint8_t> RemoveEmulationPrevention(const uint8_t* bytes, size_t length) {
    std::vector<uint8_t> out;
    out.reserve(length);
    int zeros = 0;
    for (size_t i = 0; i < length; ++i) {
        if (zeros >= 2 && bytes[i] == 3) {
            zeros = 0;
            continue;
        }
        zeros = bytes[i] == 0 ? zeros + 1 : 0;
        out.push_back(bytes[i]);
    }
    return out;
}

bool IsHighProfile(uint64_t profile) {
    switch (profile) {
    case 100:
    case 110:
    case 122:
    case 244:
    case 44:
    case 83:
    case 86:
    case 118:
    case 128:
    case 144:
        return true;
    default:
        return false;
    }
}

void SkipScalingList(BitReader& r, int size) {
    int last = 8, next = 8;
    for (int j = 0; j < size && r.Ok(); ++j) {
        if (next != 0) {
            const int64_t delta = r.Se();
            if (delta < -128 || delta > 127) return r.Fail();
            next = int((last + delta + 256) % 256);
        }
        last = next == 0 ? last : next;
    }
}

// The VUI up to its timing information; only the frame rate is kept.
double ReadVuiFrameRate(BitReader& r) {
    if (r.Flag() && r.Bits(8) == 255) // aspect_ratio_info_present, aspect_ratio_idc: Extended_SAR
        r.Bits(32);
    if (r.Flag()) // overscan_info_present
        r.Bits(1);
    if (r.Flag()) { // video_signal_type_present
        r.Bits(4);
        if (r.Flag()) r.Bits(24);
    }
    if (r.Flag()) { // chroma_loc_info_present
        r.Ue(5);
        r.Ue(5);
    }
    if (!r.Flag()) return 0;
    const uint64_t unitsInTick = r.Bits(32);
    const uint64_t timeScale = r.Bits(32);
    if (!r.Ok() || unitsInTick == 0) return 0;
    return double(timeScale) / (2.0 * double(unitsInTick));
}

} // namespace

bool ParseSequenceParameterSet(const uint8_t* bytes, size_t length, SequenceParameters& out) {
    if (!bytes || length < 4) return false;
    const std::vector<uint8_t> rbsp = RemoveEmulationPrevention(bytes, length);
    if ((rbsp[0] & 0x1F) != 7) return false;
    BitReader r(rbsp, 8);
    const uint64_t profile = r.Bits(8);
    r.Bits(16); // constraint flags, level
    r.Ue(31);   // seq_parameter_set_id

    uint64_t chromaFormat = 1;
    bool separatePlanes = false;
    if (IsHighProfile(profile)) {
        chromaFormat = r.Ue(3);
        if (chromaFormat == 3) separatePlanes = r.Flag();
        r.Ue(6); // bit_depth_luma_minus8
        r.Ue(6); // bit_depth_chroma_minus8
        r.Bits(1);
        if (r.Flag()) // seq_scaling_matrix_present
            for (int i = 0; i < (chromaFormat != 3 ? 8 : 12) && r.Ok(); ++i)
                if (r.Flag()) SkipScalingList(r, i < 6 ? 16 : 64);
    }
    r.Ue(12); // log2_max_frame_num_minus4
    const uint64_t pocType = r.Ue(2);
    if (pocType == 0) {
        r.Ue(12);
    } else if (pocType == 1) {
        r.Bits(1);
        r.Se();
        r.Se();
        const uint64_t cycle = r.Ue(255);
        for (uint64_t i = 0; i < cycle && r.Ok(); ++i)
            r.Se();
    }
    r.Ue();    // max_num_ref_frames
    r.Bits(1); // gaps_in_frame_num_value_allowed
    const uint64_t widthMbs = r.Ue() + 1;
    const uint64_t heightUnits = r.Ue() + 1;
    const bool frameMbsOnly = r.Flag();
    if (!frameMbsOnly) r.Bits(1); // mb_adaptive_frame_field
    r.Bits(1);                    // direct_8x8_inference
    uint64_t cropLeft = 0, cropRight = 0, cropTop = 0, cropBottom = 0;
    if (r.Flag()) {
        cropLeft = r.Ue();
        cropRight = r.Ue();
        cropTop = r.Ue();
        cropBottom = r.Ue();
    }
    const bool vui = r.Flag();
    if (!r.Ok()) return false;

    // Crop units follow the chroma sampling (4:2:0 progressive: 2 by 2).
    const uint64_t chromaArrayType = separatePlanes ? 0 : chromaFormat;
    const uint64_t unitX = (chromaArrayType == 1 || chromaArrayType == 2) ? 2 : 1;
    const uint64_t unitY = (chromaArrayType == 1 ? 2 : 1) * (frameMbsOnly ? 1 : 2);
    const uint64_t fullWidth = widthMbs * 16;
    const uint64_t fullHeight = heightUnits * 16 * (frameMbsOnly ? 1 : 2);
    const uint64_t cropX = (cropLeft + cropRight) * unitX;
    const uint64_t cropY = (cropTop + cropBottom) * unitY;
    if (cropX >= fullWidth || cropY >= fullHeight) return false;
    const uint64_t width = fullWidth - cropX;
    const uint64_t height = fullHeight - cropY;
    if (width > 0xFFFF || height > 0xFFFF)
        return false; // no picture of this size exists; the reader stores 16-bit sizes

    out.width = static_cast<uint32_t>(width);
    out.height = static_cast<uint32_t>(height);
    // A VUI cut short by the end of the scanned bytes leaves the frame rate unknown.
    out.frameRate = vui ? ReadVuiFrameRate(r) : 0;
    return true;
}
