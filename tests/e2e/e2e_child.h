// What the end-to-end tests share: each runs the real window in a child process (one application
// object per process) that checks its steps with E2E_CHECK and ends with exit status 0, or 3 and
// the failed condition on standard error, which the parent's EXPECT_EXIT reports.
#pragma once

#include <QApplication>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

class QWidget;

// The line of the check the child is at: what a child that hangs names when it is ended.
namespace e2e {
void AtCheck(int line);
}

#define E2E_CHECK(condition)                                                                                 \
    do {                                                                                                     \
        e2e::AtCheck(__LINE__);                                                                              \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__);                      \
            std::_Exit(3);                                                                                   \
        }                                                                                                    \
    } while (false)

namespace e2e {

// The camera's name of a recording starting at `start` (local time): "2024_06_01_120000_00.MP4",
// with "_b" before the extension for the rear camera.
std::string RecordingName(int64_t start, int number, bool rear);

// A working folder whose settings file places the window at a known spot (1250 wide, `height`
// high), with the map offline.
std::filesystem::path WindowWorkFolder(const char* name, int height = 560);

// The whole file (empty when it cannot be read).
std::string ReadFile(const std::filesystem::path& path);
// How often `what` stands in `text`.
size_t Occurrences(const std::string& text, const std::string& what);

// The child works in `folder`, which is also its home (the documents folder of the exports), on
// the X display.
void EnterChild(const std::filesystem::path& folder);

// The child's application object, made once; it lives until the child ends.
QApplication& ChildApplication();

// Shows `window` and waits until the display has exposed it.
bool ShowExposed(QWidget& window);

} // namespace e2e
