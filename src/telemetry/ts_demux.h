// Transport stream demultiplexer of the TS reader: program tables, PES headers and time stamps,
// and the H.264 parameter sets of the video stream. One 188-byte packet at a time.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

constexpr size_t kTsPacketSize = 188;
constexpr int kTsStreamSlots = 8;
constexpr uint16_t kTelemetryPid = 258;

// Results of DemuxPacket; negative values drop the packet.
enum TsDemuxStatus : int {
    kTsOk = 0,
    kTsNoSync = -1, // also: no stream slot left for a new PID
    kTsTransportError = -2,
    kTsAdaptationPastPacket = -3,
    kTsSectionReservedBits = -6,
    kTsSectionTooLong = -7,
    kTsPmtReservedBits = -16,
    kTsPmtEntriesMisaligned = -18,
    kTsPesStartCode = -19,
    kTsPesHeaderPastPacket = -20, // the PES header does not fit the payload of its first packet
};

struct TsStreamSlot {
    int32_t m_nProgram = -1;      // -1: not from a program association table
    uint8_t m_byStreamType = 255; // 255: none
    uint8_t m_byVersion = 0;
    uint8_t m_byLastCc = 0xFF; // 0xFF: no packet seen yet
    int32_t m_nPid = -1;       // -1: free slot
    int64_t m_llFirstPts = -1;
    int64_t m_llFirstDts = -1;
    int64_t m_llMaxPts = -1;
    uint64_t m_ullPesCount = 0;
    uint32_t m_uCcJumps = 0;             // continuity counter breaks seen at unit starts
    std::vector<uint8_t> m_Data;         // payload of the current PES packet gathered so far
    size_t m_uDataLimit = 0;             // what the current unit may grow to (capped by the file)
    std::array<uint8_t, 512> m_Header{}; // a section spanning packets
    size_t m_uHeaderLen = 0;
    size_t m_uSectionLen = 0;   // full length of the pending section, 0: none pending
    std::vector<uint8_t> m_Sps; // with a 4-byte start code in front
    std::vector<uint8_t> m_Pps;
};

using TsPesCallback = void (*)(void* user, const TsStreamSlot& slot);

struct TsDemuxContext {
    std::array<TsStreamSlot, kTsStreamSlots> m_Slots{};
    bool m_bVideoFound = false;
    TsPesCallback m_pfnPes = nullptr; // completed PES packets
    void* m_pUser = nullptr;
    uint16_t m_wTelemetryPid = kTelemetryPid;
    uint64_t m_ullBufferCap = 0; // upper bound for one PES buffer (the file size); 0: 65536
};

bool IsVideoStreamType(uint8_t type);

// Demultiplexes one packet of kTsPacketSize bytes. `payloadOffset` receives the position of the first
// byte after the PES header when a PES packet of the telemetry PID starts in this packet, else 0.
int DemuxPacket(TsDemuxContext& ctx, const uint8_t* packet, uint32_t& payloadOffset);

// Scans the start of one video PES payload for Annex B NAL units and keeps new parameter sets.
void ScanVideoParameterSets(TsDemuxContext& ctx, TsStreamSlot& slot);

struct SequenceParameters {
    uint32_t width = 0;
    uint32_t height = 0;
    double frameRate = 0; // 0: no VUI timing
};
// Parses an H.264 sequence parameter set NAL unit (header byte first, no start code).
bool ParseSequenceParameterSet(const uint8_t* bytes, size_t length, SequenceParameters& out);
