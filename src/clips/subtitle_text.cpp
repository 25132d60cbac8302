#include "subtitle_text.h"

#include <algorithm>
#include <cstdio>

namespace {
struct Clock {
    int64_t hours, minutes, seconds, ms;
};

Clock Split(int64_t ms) {
    ms = std::max<int64_t>(ms, 0);
    return {ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
}

// "H:MM:SS.cc" (centiseconds), as ASS writes its times.
std::string AssTimestamp(int64_t ms) {
    const Clock c = Split(ms);
    char text[48];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld.%02lld", static_cast<long long>(c.hours),
                  static_cast<long long>(c.minutes), static_cast<long long>(c.seconds),
                  static_cast<long long>(c.ms / 10));
    return text;
}

// ASS reads "{" as the start of an override block and "\" as an escape; our texts never hold
// them, but a cue is text and stays text.
std::string AssEscaped(const std::string& line) {
    std::string out;
    for (const char c : line) {
        if (c == '{' || c == '}') out += c == '{' ? '(' : ')';
        else if (c == '\\') out += '/';
        else out += c;
    }
    return out;
}
} // namespace

std::string SrtTimestamp(int64_t ms) {
    const Clock c = Split(ms);
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld,%03lld", static_cast<long long>(c.hours),
                  static_cast<long long>(c.minutes), static_cast<long long>(c.seconds),
                  static_cast<long long>(c.ms));
    return text;
}

std::string SrtText(const std::vector<OverlayCue>& cues) {
    std::string out;
    int number = 0;
    for (const OverlayCue& cue : cues) {
        const std::vector<std::string> lines = CueLines(cue);
        if (lines.empty() || cue.endMs <= cue.startMs) continue;
        out += std::to_string(++number) + '\n';
        out += SrtTimestamp(cue.startMs) + " --> " + SrtTimestamp(cue.endMs) + '\n';
        for (const std::string& line : lines) out += line + '\n';
        out += '\n';
    }
    return out;
}

std::string AssText(const std::vector<OverlayCue>& cues, int width, int height) {
    const int fontSize = std::max(12, width / 48);
    const int margin = std::max(4, fontSize / 2);
    std::string out = "[Script Info]\nScriptType: v4.00+\nWrapStyle: 2\nScaledBorderAndShadow: yes\n";
    out += "PlayResX: " + std::to_string(width) + "\nPlayResY: " + std::to_string(height) + "\n\n";
    out += "[V4+ Styles]\n"
           "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, "
           "Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, "
           "Shadow, Alignment, MarginL, MarginR, MarginV, Encoding\n";
    // BorderStyle 4: one half-clear black box behind the whole cue (BackColour), and a thin
    // outline around the letters for bright pictures.
    out += "Style: Overlay,DejaVu Sans," + std::to_string(fontSize) +
           ",&H00FFFFFF,&H00FFFFFF,&H80000000,&H80000000,0,0,0,0,100,100,0,0,4," +
           std::to_string(std::max(1, fontSize / 16)) + ",0,1," + std::to_string(margin) + "," +
           std::to_string(margin) + "," + std::to_string(margin) + ",1\n\n";
    out += "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
    for (const OverlayCue& cue : cues) {
        const std::vector<std::string> lines = CueLines(cue);
        if (lines.empty() || cue.endMs <= cue.startMs) continue;
        std::string text;
        for (const std::string& line : lines) text += (text.empty() ? "" : "\\N") + AssEscaped(line);
        out += "Dialogue: 0," + AssTimestamp(cue.startMs) + "," + AssTimestamp(cue.endMs) + ",Overlay,,0,0,0,," +
               text + "\n";
    }
    return out;
}
