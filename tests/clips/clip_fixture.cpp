#include "clip_fixture.h"

#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace fs = std::filesystem;

namespace {
std::string Quoted(const fs::path& path) {
    std::string out = "'";
    for (const char c : path.string()) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}
} // namespace

const RecordingPair& FixturePair() {
    static const RecordingPair pair = [] {
        RecordingPair p;
        const fs::path dir = fixtures::ScratchDir("clip_pair");
        p.telemetry = fixtures::SimulateDrive(fixtures::DriveSpecForLayout(kLayoutVideMeta, 10));
        const fs::path frontClip = fixtures::MakeClip({320, 240, 10, 10, "FRONT"});
        const fs::path rearClip = fixtures::MakeClip({320, 240, 10, 10, "REAR"});
        p.front = dir / "2024_06_01_120000_01.MP4";
        p.rear = dir / "2024_06_01_120001_01_b.MP4";
        fixtures::WriteRecording(p.front, kLayoutVideMeta, p.telemetry, {}, frontClip);
        fixtures::Telemetry rear = p.telemetry;
        rear.startTime += 1;
        fixtures::WriteRecording(p.rear, kLayoutVideMeta, rear, {}, rearClip);
        return p;
    }();
    return pair;
}

CommandRun RunCommand(const std::string& command) {
    CommandRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::vector<std::string> StreamsOf(const fs::path& clip) {
    const CommandRun run = RunCommand("ffprobe -v error -show_entries stream=codec_type,codec_name -of csv=p=0 " +
                                      Quoted(clip));
    std::vector<std::string> streams;
    size_t begin = 0;
    for (size_t end; (end = run.out.find('\n', begin)) != std::string::npos; begin = end + 1) {
        const std::string line = run.out.substr(begin, end - begin);
        const size_t comma = line.find(',');
        if (comma != std::string::npos) streams.push_back(line.substr(comma + 1) + ":" + line.substr(0, comma));
    }
    return streams;
}

double DurationOf(const fs::path& clip) {
    const CommandRun run =
        RunCommand("ffprobe -v error -show_entries format=duration -of csv=p=0 " + Quoted(clip));
    return run.out.empty() ? -1 : std::stod(run.out);
}

std::string PictureSizeOf(const fs::path& clip) {
    std::string out = RunCommand("ffprobe -v error -select_streams v:0 -show_entries stream=width,height -of csv=s=x:p=0 " +
                                 Quoted(clip)).out;
    out.erase(std::remove(out.begin(), out.end(), '\n'), out.end());
    return out;
}

std::string SubtitlesOf(const fs::path& clip) {
    std::string srt = RunCommand("ffmpeg -nostdin -v error -i " + Quoted(clip) + " -map 0:s:0 -f srt pipe:1").out;
    srt.erase(std::remove(srt.begin(), srt.end(), '\r'), srt.end());
    return srt;
}

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

fs::path SlowFakeFfmpeg(const fs::path& folder) {
    const fs::path program = folder / "ffmpeg";
    std::ofstream(program) << "#!/bin/sh\nfor last; do :; done\necho partial > \"$last\"\nexec sleep 60\n";
    ::chmod(program.c_str(), 0755);
    return program;
}
