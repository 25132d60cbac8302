// The cues of a clip as subtitle files: SRT (the soft subtitle track and the "Export subtitles"
// file) and ASS (the styled text burned into the picture).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "overlay_cues.h"

// "HH:MM:SS,mmm"; hours keep counting past 99.
std::string SrtTimestamp(int64_t ms);

// Numbered blocks from 1, one per cue with something to show, each ended by a blank line. UTF-8.
std::string SrtText(const std::vector<OverlayCue>& cues);

// An ASS script for a picture of `width` x `height` pixels: the cues in white on a half-clear
// black box at the bottom left, the font (DejaVu Sans) a 48th of the picture's width high, so the
// text keeps its size on a 1080p screen whatever the layout.
std::string AssText(const std::vector<OverlayCue>& cues, int width, int height);
