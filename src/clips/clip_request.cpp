#include "clip_request.h"

namespace {
struct LayoutName {
    ClipLayout layout;
    const char* name;
};
constexpr LayoutName kLayoutNames[] = {
    {ClipLayout::kSideBySide, "side"},
    {ClipLayout::kFrontOnly, "front"},
    {ClipLayout::kRearOnly, "rear"},
    {ClipLayout::kPictureInPicture, "pip"},
};
} // namespace

const char* ClipLayoutName(ClipLayout layout) {
    for (const LayoutName& entry : kLayoutNames)
        if (entry.layout == layout) return entry.name;
    return "";
}

std::optional<ClipLayout> ClipLayoutFromName(const std::string& name) {
    for (const LayoutName& entry : kLayoutNames)
        if (name == entry.name) return entry.layout;
    return std::nullopt;
}
