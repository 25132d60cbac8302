#include "ts_demux.h"

#include <algorithm>

#include "trace.h"

namespace {

constexpr size_t kMaxSection = 512;
constexpr size_t kDefaultPesBuffer = 30720; // for PES packets of unbounded length (0)

uint16_t Be16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] << 8 | p[1]);
}

int64_t ReadTimeStamp(const uint8_t* p) {
    return int64_t(p[0] >> 1 & 7) << 30 | int64_t(p[1]) << 22 | int64_t(p[2] >> 1) << 15 |
           int64_t(p[3]) << 7 | int64_t(p[4] >> 1);
}

bool IsMappedStreamType(uint8_t type) {
    static constexpr uint8_t kTypes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x06, 0x0F, 0x1B,
                                         0x80, 0x81, 0x82, 0x83, 0x86, 0x8A, 0xEA};
    return std::find(std::begin(kTypes), std::end(kTypes), type) != std::end(kTypes);
}

TsStreamSlot* FindSlot(TsDemuxContext& ctx, int pid, bool allocate) {
    for (auto& slot : ctx.m_Slots)
        if (slot.m_nPid == pid) return &slot;
    if (!allocate) return nullptr;
    for (auto& slot : ctx.m_Slots)
        if (slot.m_nPid == -1) {
            slot.m_nPid = pid;
            return &slot;
        }
    return nullptr;
}

void OnAssociationTable(TsDemuxContext& ctx, const uint8_t* s, size_t total) {
    if (total < 12) return;
    for (size_t i = 8; i + 4 <= total - 4; i += 4) {
        const uint16_t program = Be16(s + i);
        const int pid = Be16(s + i + 2) & 0x1FFF;
        if (program == 0) continue; // network information PID
        if (TsStreamSlot* slot = FindSlot(ctx, pid, true)) {
            slot->m_nProgram = program;
            slot->m_byStreamType = 255;
        }
    }
}

int OnMapTable(TsDemuxContext& ctx, const uint8_t* s, size_t total) {
    if (total < 16) return kTsPmtEntriesMisaligned;
    const uint16_t program = Be16(s + 3);
    const size_t end = total - 4; // the CRC closes the section
    size_t i = 12 + (Be16(s + 10) & 0x0FFF);
    while (i + 5 <= end) {
        const uint8_t type = s[i];
        if ((s[i + 1] & 0xE0) != 0xE0) return kTsPmtReservedBits;
        const int pid = Be16(s + i + 1) & 0x1FFF;
        i += 5 + (Be16(s + i + 3) & 0x0FFF);
        if (!IsMappedStreamType(type)) continue;
        if (TsStreamSlot* slot = FindSlot(ctx, pid, true)) {
            if (slot->m_nProgram != program || slot->m_byStreamType != type) ++slot->m_byVersion;
            slot->m_nProgram = program;
            slot->m_byStreamType = type;
        }
    }
    return i == end ? kTsOk : kTsPmtEntriesMisaligned;
}

int OnSection(TsDemuxContext& ctx, const uint8_t* s, size_t total) {
    if (s[0] == 0)
        OnAssociationTable(ctx, s, total);
    else if (s[0] == 2)
        return OnMapTable(ctx, s, total);
    return kTsOk;
}

// A section starting in this payload; one longer than the packet waits in the slot's header buffer.
int StartSection(TsDemuxContext& ctx, TsStreamSlot& slot, const uint8_t* payload, size_t length) {
    slot.m_uSectionLen = 0;
    const size_t start = 1 + size_t(payload[0]); // pointer field
    if (start + 3 > length) return kTsOk;
    const uint8_t* s = payload + start;
    if (s[0] != 0 && s[0] != 2) return kTsOk;
    if ((s[1] & 0x30) != 0x30) return kTsSectionReservedBits;
    const size_t total = 3 + (Be16(s + 1) & 0x0FFF);
    const size_t available = length - start;
    if (total <= available) return OnSection(ctx, s, total);
    if (total > kMaxSection) return kTsSectionTooLong;
    std::copy(s, s + available, slot.m_Header.begin());
    slot.m_uHeaderLen = available;
    slot.m_uSectionLen = total;
    return kTsOk;
}

int ContinueSection(TsDemuxContext& ctx, TsStreamSlot& slot, const uint8_t* payload, size_t length) {
    const size_t n = std::min(length, slot.m_uSectionLen - slot.m_uHeaderLen);
    std::copy(payload, payload + n, slot.m_Header.begin() + slot.m_uHeaderLen);
    slot.m_uHeaderLen += n;
    if (slot.m_uHeaderLen < slot.m_uSectionLen) return kTsOk;
    const size_t total = slot.m_uSectionLen;
    slot.m_uSectionLen = 0;
    return OnSection(ctx, slot.m_Header.data(), total);
}

void FinishUnit(TsDemuxContext& ctx, TsStreamSlot& slot) {
    if (slot.m_Data.empty()) return;
    if (ctx.m_pfnPes) ctx.m_pfnPes(ctx.m_pUser, slot);
    if (!ctx.m_bVideoFound && IsVideoStreamType(slot.m_byStreamType)) ScanVideoParameterSets(ctx, slot);
    slot.m_Data.clear();
}

int StartPes(TsDemuxContext& ctx, TsStreamSlot& slot, size_t start, const uint8_t* packet,
             uint32_t& payloadOffset) {
    FinishUnit(ctx, slot);
    const uint8_t* pes = packet + start;
    const size_t length = kTsPacketSize - start;
    if (length < 9) return kTsPesHeaderPastPacket;
    if (pes[0] != 0 || pes[1] != 0 || pes[2] != 1) return kTsPesStartCode;
    const size_t headerEnd = 9 + size_t(pes[8]);
    if (headerEnd > length) return kTsPesHeaderPastPacket;
    if (slot.m_nPid == ctx.m_wTelemetryPid) payloadOffset = static_cast<uint32_t>(start + headerEnd);

    const uint16_t pesLength = Be16(pes + 4);
    const uint64_t cap = ctx.m_ullBufferCap != 0 ? ctx.m_ullBufferCap : 65536;
    slot.m_uDataLimit =
        static_cast<size_t>(std::min<uint64_t>(pesLength ? pesLength : kDefaultPesBuffer, cap));
    ++slot.m_ullPesCount;

    const int flags = pes[7] >> 6;
    if ((flags & 2) != 0 && pes[8] >= 5) {
        const int64_t pts = ReadTimeStamp(pes + 9);
        if (slot.m_llFirstPts < 0) slot.m_llFirstPts = pts;
        slot.m_llMaxPts = std::max(slot.m_llMaxPts, pts);
    }
    if (flags == 3 && pes[8] >= 10 && slot.m_llFirstDts < 0) slot.m_llFirstDts = ReadTimeStamp(pes + 14);

    const size_t n = std::min(length - headerEnd, slot.m_uDataLimit);
    slot.m_Data.assign(pes + headerEnd, pes + headerEnd + n);
    return kTsOk;
}

} // namespace

bool IsVideoStreamType(uint8_t type) {
    return type == 1 || type == 2 || type == 27 || type == 128 || type == 234;
}

int DemuxPacket(TsDemuxContext& ctx, const uint8_t* packet, uint32_t& payloadOffset) {
    payloadOffset = 0;
    if (packet[0] != 0x47) return kTsNoSync;
    const bool unitStart = (packet[1] & 0x40) != 0;
    const int pid = (packet[1] & 0x1F) << 8 | packet[2];
    const uint8_t cc = packet[3] & 0x0F;
    const int control = packet[3] >> 4 & 3;
    if (!unitStart) {
        // Only a table that spans packets is followed beyond the packet that starts it.
        TsStreamSlot* slot = FindSlot(ctx, pid, false);
        if (!slot || slot->m_uSectionLen == 0 || (packet[1] & 0x80) != 0 || (control & 1) == 0) return kTsOk;
        const size_t start = (control & 2) ? 5 + size_t(packet[4]) : 4;
        if (start > kTsPacketSize) return kTsAdaptationPastPacket;
        return ContinueSection(ctx, *slot, packet + start, kTsPacketSize - start);
    }
    if ((packet[1] & 0x80) != 0) return kTsTransportError;
    if (pid == 0x1FFF || (control & 1) == 0) return kTsOk;
    const size_t start = (control & 2) ? 5 + size_t(packet[4]) : 4;
    if (start > kTsPacketSize) return kTsAdaptationPastPacket;

    TsStreamSlot* slot = FindSlot(ctx, pid, true);
    if (!slot) return kTsNoSync;
    if (slot->m_byLastCc != 0xFF && cc != ((slot->m_byLastCc + 1) & 0x0F)) {
        ++slot->m_uCcJumps;
        Trace("ts pkg lost(last:%d,new:%d),pid:%d frame_num:%llu \n", slot->m_byLastCc, cc, pid,
              static_cast<unsigned long long>(slot->m_ullPesCount));
    }
    slot->m_byLastCc = cc;

    if (pid == 0 || (slot->m_nProgram != -1 && slot->m_byStreamType == 255)) {
        if (start >= kTsPacketSize) return kTsOk;
        return StartSection(ctx, *slot, packet + start, kTsPacketSize - start);
    }
    if (slot->m_byStreamType == 255) return kTsOk;
    return StartPes(ctx, *slot, start, packet, payloadOffset);
}

void ScanVideoParameterSets(TsDemuxContext& ctx, TsStreamSlot& slot) {
    constexpr size_t kScanStarts = 100, kScanWindow = 150;
    constexpr int kMaxUnits = 5;
    const uint8_t* d = slot.m_Data.data();
    const size_t window = std::min(slot.m_Data.size(), kScanWindow);

    auto nextStart = [&](size_t from) {
        for (size_t i = from; i + 3 <= window; ++i)
            if (d[i] == 0 && d[i + 1] == 0 && d[i + 2] == 1) return i;
        return window;
    };
    size_t code = nextStart(0);
    for (int units = 0; code < window && code < kScanStarts && units < kMaxUnits; ++units) {
        const size_t begin = code + 3;
        code = nextStart(begin);
        size_t end = code;
        while (end > begin && d[end - 1] == 0)
            --end; // the zero byte of a four-byte start code belongs to the next unit
        if (end <= begin) continue;
        const int type = d[begin] & 0x1F;
        if (type != 7 && type != 8) continue;
        std::vector<uint8_t> unit{0, 0, 0, 1};
        unit.insert(unit.end(), d + begin, d + end);
        std::vector<uint8_t>& saved = type == 7 ? slot.m_Sps : slot.m_Pps;
        if (saved != unit) saved = std::move(unit);
    }
    if (slot.m_Sps.size() > 4) ctx.m_bVideoFound = true;
}
