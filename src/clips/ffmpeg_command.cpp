#include "ffmpeg_command.h"

#include <algorithm>

namespace {
// Debian's fonts-dejavu-core; libass finds "DejaVu Sans" there (and through fontconfig otherwise).
constexpr const char* kOverlayFontFolder = "/usr/share/fonts/truetype/dejavu";
constexpr int kAssumedWidth = 1920, kAssumedHeight = 1080;

int Even(int value) {
    return std::max(2, value - value % 2);
}

ClipSize SizeOf(const ClipCamera& camera) {
    if (camera.width <= 0 || camera.height <= 0) return {kAssumedWidth, kAssumedHeight};
    return {Even(camera.width), Even(camera.height)};
}

std::string Escaped(std::string_view value, std::string_view special) {
    std::string out;
    for (const char c : value) {
        if (special.find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

// One camera's picture fitted into w x h (bars keep its shape), after its lead of black.
std::string Pane(int input, const CameraCut& cut, int w, int h) {
    const std::string W = std::to_string(w), H = std::to_string(h);
    std::string chain = "[" + std::to_string(input) + ":v]";
    if (cut.leadMs > 0) chain += "tpad=start_duration=" + SecondsText(cut.leadMs) + ":color=black,";
    return chain + "scale=" + W + ":" + H + ":force_original_aspect_ratio=decrease,pad=" + W + ":" + H +
           ":(ow-iw)/2:(oh-ih)/2,setsar=1";
}

struct Inputs {
    int front = -1, rear = -1, subtitles = -1;
    CameraCut frontCut, rearCut;
};

// The layout as a graph ending in [v]. The overlay filter takes its frame times from the main
// picture (hstack would interleave two frame rates), and "pass" leaves a camera that has ended black.
std::string FilterGraph(const ClipRequest& r, const Inputs& in, const ClipWorkFiles& files) {
    const ClipSize size = ClipPictureSize(r);
    std::string graph;
    switch (r.layout) {
    case ClipLayout::kSideBySide: {
        const int w = Even(size.width / 2), h = size.height;
        graph = Pane(in.front, in.frontCut, w, h) + ",pad=" + std::to_string(2 * w) + ":" + std::to_string(h) +
                ":0:0[left];" + Pane(in.rear, in.rearCut, w, h) + "[right];[left][right]overlay=" +
                std::to_string(w) + ":0:eof_action=pass";
        break;
    }
    case ClipLayout::kPictureInPicture: {
        const int w = Even(size.width / 3), h = Even(size.height / 3), margin = Even(size.width / 64);
        graph = Pane(in.front, in.frontCut, size.width, size.height) + "[main];" +
                Pane(in.rear, in.rearCut, w, h) + "[inset];[main][inset]overlay=" +
                std::to_string(size.width - w - margin) + ":" + std::to_string(margin) + ":eof_action=pass";
        break;
    }
    case ClipLayout::kFrontOnly:
        graph = Pane(in.front, in.frontCut, size.width, size.height);
        break;
    case ClipLayout::kRearOnly:
        graph = Pane(in.rear, in.rearCut, size.width, size.height);
        break;
    }
    if (!files.ass.empty())
        graph += ",subtitles=filename=" + FilterOptionEscaped(files.ass.string()) +
                 ":fontsdir=" + FilterOptionEscaped(kOverlayFontFolder);
    return graph + ",format=yuv420p[v]";
}

void AddInput(std::vector<std::string>& args, const ClipCamera& camera, const CameraCut& cut, bool copy) {
    // A stream copy cannot be padded with black: the camera's track starts later instead.
    if (copy && cut.leadMs > 0) args.insert(args.end(), {"-itsoffset", SecondsText(cut.leadMs)});
    args.insert(args.end(), {"-ss", SecondsText(cut.seekMs), "-t", SecondsText(cut.durationMs), "-i",
                             camera.path.string()});
}
} // namespace

bool LayoutUsesFront(ClipLayout layout) {
    return layout != ClipLayout::kRearOnly;
}

bool LayoutUsesRear(ClipLayout layout) {
    return layout != ClipLayout::kFrontOnly;
}

ClipSize ClipPictureSize(const ClipRequest& request) {
    if (request.layout == ClipLayout::kRearOnly && request.rear) return SizeOf(*request.rear);
    const ClipSize front = SizeOf(request.front);
    if (request.layout == ClipLayout::kSideBySide) return {front.width, Even(front.height / 2)};
    return front;
}

CameraCut CutOf(const ClipCamera& camera, int64_t fromMs, int64_t toMs) {
    CameraCut cut;
    const int64_t start = fromMs - camera.delayMs;
    cut.seekMs = std::max<int64_t>(start, 0);
    cut.leadMs = std::max<int64_t>(-start, 0);
    cut.durationMs = toMs - fromMs - cut.leadMs;
    if (camera.durationMs > 0) cut.durationMs = std::min(cut.durationMs, camera.durationMs - cut.seekMs);
    return cut;
}

std::vector<std::string> FfmpegClipArguments(const ClipRequest& request, const ClipWorkFiles& files) {
    const bool copy = request.picture == ClipPicture::kCopy;
    const int64_t spanMs = request.toMs - request.fromMs;
    std::vector<std::string> args = {"-nostdin", "-hide_banner", "-v", "error", "-nostats", "-progress", "pipe:1", "-y"};
    Inputs in;
    int next = 0;
    if (LayoutUsesFront(request.layout)) {
        in.frontCut = CutOf(request.front, request.fromMs, request.toMs);
        AddInput(args, request.front, in.frontCut, copy);
        in.front = next++;
    }
    if (LayoutUsesRear(request.layout) && request.rear) {
        in.rearCut = CutOf(*request.rear, request.fromMs, request.toMs);
        AddInput(args, *request.rear, in.rearCut, copy);
        in.rear = next++;
    }
    if (!files.srt.empty()) {
        args.insert(args.end(), {"-i", files.srt.string()});
        in.subtitles = next++;
    }
    const int first = in.front >= 0 ? in.front : in.rear;
    if (copy) {
        for (const int camera : {in.front, in.rear})
            if (camera >= 0) args.insert(args.end(), {"-map", std::to_string(camera) + ":v:0"});
        args.insert(args.end(), {"-c:v", "copy"});
    } else {
        // The fastest x264 preset: a minute of 1080p front and rear must export faster than it plays
        // on a two-core machine (bench/clip_export); quality is held by the rate factor, the file is larger.
        args.insert(args.end(), {"-filter_complex", FilterGraph(request, in, files), "-map", "[v]", "-c:v", "libx264",
                                 "-preset", "ultrafast", "-crf", "23"});
    }
    // The sound of the first camera shown, if it has any.
    args.insert(args.end(), {"-map", std::to_string(first) + ":a:0?", "-c:a", "aac", "-b:a", "128k"});
    if (in.subtitles >= 0)
        args.insert(args.end(), {"-map", std::to_string(in.subtitles) + ":s:0", "-c:s", "mov_text",
                                 "-metadata:s:s:0", "title=Telemetry"});
    args.insert(args.end(), {"-t", SecondsText(spanMs), "-movflags", "+faststart", "-f", "mp4", files.output.string()});
    return args;
}

std::string FilterOptionEscaped(std::string_view value) {
    return Escaped(Escaped(value, "\\':"), "\\'[],;");
}

std::string SecondsText(int64_t ms) {
    const bool negative = ms < 0;
    const uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(ms) : static_cast<uint64_t>(ms);
    std::string fraction = std::to_string(magnitude % 1000);
    fraction.insert(0, 3 - fraction.size(), '0');
    return (negative ? "-" : "") + std::to_string(magnitude / 1000) + "." + fraction;
}
