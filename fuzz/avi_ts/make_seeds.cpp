// Writes the seed corpus of the AVI and transport stream fuzz targets: make_avits_seeds <folder>.
// Real recordings from the fixture writer (small clips, so they fit the fuzzers' input length) and the
// sequence parameter sets found in them.
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "avi_writer.h"
#include "container_remux.h"
#include "ts_demux.h"
#include "ts_writer.h"

namespace fs = std::filesystem;

namespace {

void Save(const fs::path& path, const std::vector<uint8_t>& bytes) {
    fs::create_directories(path.parent_path());
    fixtures::WriteWholeFile(path, bytes);
}

// Parameter sets of the video stream, saved by the demultiplexer.
std::vector<std::vector<uint8_t>> SequenceParameterSets(const std::vector<uint8_t>& ts) {
    TsDemuxContext ctx;
    for (size_t pos = 0; pos + kTsPacketSize <= ts.size(); pos += kTsPacketSize) {
        uint32_t offset = 0;
        DemuxPacket(ctx, &ts[pos], offset);
    }
    std::vector<std::vector<uint8_t>> sets;
    for (const auto& slot : ctx.m_Slots)
        if (slot.m_Sps.size() > 4) sets.emplace_back(slot.m_Sps.begin() + 4, slot.m_Sps.end());
    return sets;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_avits_seeds <folder>\n");
        return 2;
    }
    const fs::path out = argv[1];
    const fs::path scratch = fixtures::ScratchDir("avits-seeds");
    int n = 0;
    for (const auto& [w, h] : {std::pair{160, 120}, std::pair{176, 144}}) {
        fixtures::ClipSpec clipSpec;
        clipSpec.width = w;
        clipSpec.height = h;
        clipSpec.seconds = 1;
        clipSpec.fps = 5;
        const fs::path clip = fixtures::MakeClip(clipSpec);
        fixtures::DriveSpec drive;
        drive.seconds = 2;
        const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);

        fixtures::AviOptions avi;
        avi.iditAfterGps = n % 2 == 1;
        const auto a = fixtures::WriteAviRecording(scratch / "seed.AVI", telemetry, avi, clip);
        Save(out / "avi_parse" / ("recording" + std::to_string(n) + ".avi"), fixtures::ReadWholeFile(a.path));

        const auto t = fixtures::WriteTsRecording(scratch / "seed.TS", telemetry, {}, clip);
        const std::vector<uint8_t> ts = fixtures::ReadWholeFile(t.path);
        Save(out / "ts_probe" / ("recording" + std::to_string(n) + ".ts"), ts);
        int k = 0;
        for (const auto& sps : SequenceParameterSets(ts))
            Save(out / "h264_sps" / ("sps" + std::to_string(n) + "_" + std::to_string(k++)), sps);
        ++n;
    }
    // A high-profile 1920x1080 parameter set (cropped from 1088 lines) with VUI timing.
    Save(out / "h264_sps" / "high_1080_crop",
         {0x67, 0x64, 0x00, 0x28, 0xAC, 0xD9, 0x40, 0x78, 0x02, 0x27, 0xE5, 0x84, 0x00,
          0x00, 0x03, 0x00, 0x04, 0x00, 0x00, 0x03, 0x00, 0xF0, 0x3C, 0x60, 0xC6, 0x58});
    std::printf("AVI and TS seeds written to %s\n", out.c_str());
    return 0;
}
