// Helpers of the AVI and transport stream reader tests: scratch files and ffprobe's view of a file.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace avits {

inline std::filesystem::path WriteBytes(const std::filesystem::path& path,
                                        const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

struct ProbeView {
    int width = 0, height = 0;
    double duration = 0; // seconds: the video stream's, else the container's
};

// What ffprobe reports for the first video stream; width 0 when ffprobe fails.
inline ProbeView FfprobeView(const std::filesystem::path& path) {
    const std::string command = "ffprobe -v error -select_streams v:0 -show_entries "
                                "stream=width,height,duration:format=duration -of default=nw=1 '" +
                                path.string() + "'";
    ProbeView view;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return view;
    char line[256];
    double streamDuration = 0, formatDuration = 0;
    bool inFormat = false;
    while (std::fgets(line, sizeof line, pipe)) {
        const std::string text(line);
        if (text.rfind("width=", 0) == 0)
            view.width = std::atoi(line + 6);
        else if (text.rfind("height=", 0) == 0)
            view.height = std::atoi(line + 7);
        else if (text.rfind("duration=", 0) == 0)
            (inFormat ? formatDuration : streamDuration) = std::atof(line + 9), inFormat = true;
    }
    pclose(pipe);
    view.duration = streamDuration > 0 ? streamDuration : formatDuration;
    return view;
}

// ffmpeg decodes the whole file without an error message.
inline bool FfmpegDecodesCleanly(const std::filesystem::path& path) {
    const std::string command = "ffmpeg -nostdin -v error -i '" + path.string() + "' -f null - 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return false;
    char line[512];
    std::string errors;
    while (std::fgets(line, sizeof line, pipe))
        errors += line;
    const int rc = pclose(pipe);
    if (!errors.empty()) ADD_FAILURE() << errors;
    return rc == 0 && errors.empty();
}

} // namespace avits
