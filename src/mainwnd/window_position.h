// Where the main window goes at start-up, from the saved "WINPOS" rectangle and the size of the
// full-screen area. Plain C++ so the rule is testable without a display.
#pragma once

// Smallest size a restored window takes.
constexpr int kMinRestoredWidth = 1250;
constexpr int kMinRestoredHeight = 560;

struct WindowPlacement {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// `left`, `top`, `right`, `bottom` as saved (right and bottom exclusive); `fullWidth` and
// `fullHeight` the size of the full-screen area. The result never hangs over its right or
// bottom edge and never starts left of or above it.
WindowPlacement RestoredWindowPlacement(int fullWidth, int fullHeight, int left, int top, int right,
                                        int bottom);
