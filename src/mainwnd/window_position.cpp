#include "window_position.h"

#include <algorithm>
#include <cstdint>

namespace {

// One axis: the size is raised to the minimum, then lowered to the area; the start is pushed
// back inside the area. 64-bit arithmetic so that any saved values (the file is user-editable)
// give a defined result instead of an overflowing difference.
void PlaceAxis(int64_t area, int64_t start, int64_t end, int64_t minimum, int& outStart, int& outSize) {
    int64_t size = std::max(end - start, minimum);
    size = std::min(size, area);
    const int64_t lastStart = area - size;
    const int64_t placed = start > lastStart ? lastStart : std::max<int64_t>(start, 0);
    outStart = static_cast<int>(placed);
    outSize = static_cast<int>(size);
}

} // namespace

WindowPlacement RestoredWindowPlacement(int fullWidth, int fullHeight, int left, int top, int right,
                                        int bottom) {
    WindowPlacement placement;
    PlaceAxis(fullWidth, left, right, kMinRestoredWidth, placement.x, placement.width);
    PlaceAxis(fullHeight, top, bottom, kMinRestoredHeight, placement.y, placement.height);
    return placement;
}
