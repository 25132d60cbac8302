#include "export_options.h"

#include <charconv>
#include <cmath>
#include <vector>

const char* const kExportUsage =
    "usage: veltrix-export FRONT [REAR] --from SECONDS --to SECONDS [--layout side|front|rear|pip]\n"
    "                      [--no-overlay] [--copy] -o OUT.mp4\n";

namespace {
// Seconds as a decimal number (12 or 12.5), not negative, to whole milliseconds.
bool ParseSeconds(const std::string& text, int64_t& ms) {
    double seconds = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, seconds, std::chars_format::fixed);
    if (text.empty() || result.ec != std::errc() || result.ptr != end) return false;
    if (!std::isfinite(seconds) || seconds < 0 || seconds > 1e9) return false;
    ms = std::llround(seconds * 1000.0);
    return true;
}

struct Parser {
    int argc;
    const char* const* argv;
    int i = 1;
    std::string problem;

    // The value after option argv[i]; false when there is none.
    bool Value(std::string& out) {
        if (i + 1 >= argc) {
            problem = std::string(argv[i]) + " needs a value";
            return false;
        }
        out = argv[++i];
        return true;
    }
};
} // namespace

bool ParseExportOptions(int argc, const char* const* argv, ClipChoice& choice, std::string& problem) {
    Parser p{argc, argv, 1, {}};
    std::vector<std::string> files;
    std::string from, to, layout, output;
    bool noOverlay = false, copy = false, filesOnly = false;
    for (; p.i < argc; ++p.i) {
        const std::string arg = argv[p.i];
        bool ok = true;
        if (filesOnly || arg == "-" || !arg.starts_with("-")) files.push_back(arg);
        else if (arg == "--") filesOnly = true;
        else if (arg == "--from") ok = p.Value(from);
        else if (arg == "--to") ok = p.Value(to);
        else if (arg == "--layout") ok = p.Value(layout);
        else if (arg == "-o" || arg == "--output") ok = p.Value(output);
        else if (arg == "--no-overlay") noOverlay = true;
        else if (arg == "--copy") copy = true;
        else {
            p.problem = "unknown option " + arg;
            ok = false;
        }
        if (!ok) {
            problem = p.problem;
            return false;
        }
    }
    if (files.empty() || files.size() > 2) {
        problem = files.empty() ? "no recording given" : "more than two recordings given";
        return false;
    }
    if (from.empty() || to.empty() || output.empty()) {
        problem = from.empty() ? "--from is missing" : to.empty() ? "--to is missing" : "-o is missing";
        return false;
    }
    if (!ParseSeconds(from, choice.fromMs) || !ParseSeconds(to, choice.toMs)) {
        problem = "--from and --to take seconds (such as 12 or 12.5)";
        return false;
    }
    if (choice.toMs <= choice.fromMs) {
        problem = "--to must be later than --from";
        return false;
    }
    if (!layout.empty()) {
        choice.layout = ClipLayoutFromName(layout);
        if (!choice.layout) {
            problem = "unknown layout " + layout + " (side, front, rear or pip)";
            return false;
        }
        if (*choice.layout != ClipLayout::kFrontOnly && files.size() < 2) {
            problem = "the layout " + layout + " needs a rear recording";
            return false;
        }
    }
    choice.front = files[0];
    choice.rear = files.size() > 1 ? std::filesystem::path(files[1]) : std::filesystem::path();
    choice.output = output;
    choice.picture = copy ? ClipPicture::kCopy : noOverlay ? ClipPicture::kPlain : ClipPicture::kOverlay;
    return true;
}
