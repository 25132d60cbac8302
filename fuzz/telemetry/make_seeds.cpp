// Writes the seed corpus of the telemetry fuzz targets: make_telemetry_seeds <folder>.
// Creates <folder>/<target>/ for every target, with small hand-made files of each layout and,
// when built with the fixture library, real recordings of every layout.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "box_bytes.h"
#ifdef VELTRIX_HAVE_FIXTURES
#include "fixture_writer.h"
#endif

namespace fs = std::filesystem;
using namespace boxes;

namespace {
constexpr uint64_t kStart = 1717243200;

Bytes GpsPart(uint8_t valid) {
    return std::string(1, static_cast<char>(valid)) + Zeros(3) + LE32(14) + LE32(30) + LE32(59) + Zeros(4) +
           LE32(5230500) + LE32(1000) + LE32(1324000) + LE32(1000) + LE32(27) + LE32(1) + Zeros(8) + LE32(1) +
           LE32(6) + LE32(24) + "\x2D" + Zeros(7);
}
Bytes Layout1Record() {
    const Bytes gps = GpsPart(1);
    return Zeros(6) + LE16(1) + LE16(4) + LE16(5) + LE16(6) + Zeros(2) + gps.substr(4, 12) + Zeros(4) +
           gps.substr(0, 4) + gps.substr(20, 32) + gps.substr(52, 20);
}
Bytes Layout2Record(uint32_t vehicleLon) {
    const Bytes vehicle = Zeros(5) + LE16(2024) + Zeros(13) + LE16(1860) + Zeros(2) + LE32(vehicleLon) +
                          LE32(0x80000000u | 189000000u) + Zeros(24);
    return Zeros(4) + LE16(10) + Zeros(4) + LE16(1) + LE16(1) + LE16(2) + LE16(3) + Zeros(2) + GpsPart(1) +
           vehicle;
}
Bytes Layout4Chunk(uint16_t count) {
    Bytes record = Zeros(4) + LE16(10) + LE16(count);
    for (int i = 0; i < 5; ++i)
        record += Zeros(4) + LE16(i % 2) + LE16(i) + LE16(i) + LE16(i);
    return Zeros(12) + LE32(140) + record + GpsPart(1);
}
Bytes Movie(const Bytes& children) {
    return Box("moov", Mvhd(MacTime(kStart), 1000, 3000) + children);
}

// Each file places records first (after ftyp and an mdat header) and points its tables at them.
Bytes Layout1File() {
    const Bytes head = Ftyp() + Box("free", "");
    const uint32_t first = static_cast<uint32_t>(head.size() + 8);
    const Bytes mdat = Box("mdat", Layout1Record() + Layout1Record());
    return head + mdat + Movie(VideoTrack("JTD_VideoHandler") + MetaTrack({first, first + 88}));
}
Bytes Layout2File() {
    const Bytes head = Ftyp() + Box("wide", "");
    const uint32_t first = static_cast<uint32_t>(head.size() + 8);
    const Bytes mdat = Box("mdat", Zeros(2) + Layout2Record(0x80000000u | 48240000u) + Zeros(2) +
                                       Layout2Record(0xFFFFFFFFu));
    const Bytes udta = Box("udta", Box("\xA9nam", Zeros(40)));
    return head + mdat + Movie(udta + VideoTrack("VideoHandler") + MetaTrack({first, first + 150}));
}
Bytes TailBoxes() {
    const Bytes fix = RawFix(5230.5, 1324.0, 24, 6, 1, 12, 0, 0, 1);
    return Box("name", Zeros(32) + "noml" + Zeros(4)) + Box("gpsa", "\x01\0\0\0") + Box("gps0", fix + fix) +
           Box("gsea", Zeros(20)) + Box("gsen", LE16(1) + LE16(2) + LE16(3));
}
Bytes Layout3File() {
    const Bytes udta = Box("udta", Box("free", Zeros(8)));
    const Bytes head =
        Ftyp() + Box("wide", "") + Movie(udta + VideoTrack("VideoHandler")) + Box("mdat", Zeros(64));
    const Bytes tail = TailBoxes();
    return head + tail + Zeros(5120 - tail.size());
}
Bytes Layout4File() {
    // Movie box first, its "gps " box pointing behind it into the media data.
    const Bytes probe = Ftyp() + Movie(GpsBox({0, 0}) + VideoTrack("VideoHandler"));
    const uint32_t first = static_cast<uint32_t>(probe.size() + 8);
    return Ftyp() + Movie(GpsBox({first, first + 156}) + VideoTrack("VideoHandler")) +
           Box("mdat", Layout4Chunk(3) + Layout4Chunk(7));
}
Bytes Layout0File() {
    const Bytes fix = RawFix(5230.5, 1324.0, 24, 6, 1, 12, 0, 0, 1);
    const Bytes mdhd = Mvhd(0, 90000, 270000, 0, "mdhd");
    return Ftyp() + Box("gpsa", "\x01\0\0\0") + Box("gsea", "\x0A\x08\0\0") +
           Box("IDIT", "2024-06-01 14:00:00") + Box("skip", Zeros(4)) +
           Box("moov", VideoTrack("VideoHandler", 640, 480, mdhd)) + Box("gps0", fix + fix) +
           Box("gsen", Zeros(12)) + Box("mdat", Zeros(32));
}

void Put(const fs::path& dir, const std::string& name, const Bytes& bytes) {
    fs::create_directories(dir);
    WriteFile(dir / name, bytes);
}

#ifdef VELTRIX_HAVE_FIXTURES
void PutFixtures(const fs::path& root) {
    const fs::path clip = fixtures::SampleClip(64, 48, 1);
    fixtures::DriveSpec drive;
    drive.seconds = 2;
    const fixtures::Telemetry telemetry = fixtures::SimulateDrive(drive);
    const char* targets[] = {"layout1_track", "layout2_track", "layout3_track", "layout4_track"};
    for (TelemetryLayout layout = 0; layout <= 4; ++layout) {
        const fs::path out = root / "mp4_parse" / ("fixture_layout" + std::to_string(layout) + ".MP4");
        fs::create_directories(out.parent_path());
        fixtures::WriteRecording(out, layout, telemetry, {}, clip);
        if (layout > 0)
            fs::copy_file(out, root / targets[layout - 1] / out.filename(),
                          fs::copy_options::overwrite_existing);
    }
}
#endif
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_telemetry_seeds <folder>\n");
        return 2;
    }
    const fs::path root = argv[1];
    const Bytes files[] = {Layout0File(), Layout1File(), Layout2File(), Layout3File(), Layout4File()};
    for (int i = 0; i < 5; ++i)
        Put(root / "mp4_parse", "layout" + std::to_string(i), files[i]);
    Put(root / "layout1_track", "layout1", files[1]);
    Put(root / "layout1_track", "records", Layout1Record() + Layout1Record());
    Put(root / "layout2_track", "layout2", files[2]);
    Put(root / "layout2_track", "records", Layout2Record(0x80000000u | 1) + Layout2Record(0xFFFFFFFFu));
    Put(root / "layout3_track", "layout3", files[3]);
    Put(root / "layout3_track", "tail", TailBoxes() + Zeros(5120 - TailBoxes().size()));
    Put(root / "layout4_track", "layout4", files[4]);
    Put(root / "layout4_track", "records", Layout4Chunk(3) + Layout4Chunk(0));
#ifdef VELTRIX_HAVE_FIXTURES
    try {
        PutFixtures(root);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "fixture seeds skipped: %s\n", e.what());
    }
#endif
    return 0;
}
