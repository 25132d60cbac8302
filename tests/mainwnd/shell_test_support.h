// Helpers for tests that start the window in a child process: a private working folder for the
// settings file, byte-exact file access, and a screen of a chosen size for the offscreen platform.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>

#include "settings_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

class ShellTestFolder {
  public:
    ShellTestFolder() {
        std::string pattern = testing::TempDir() + "veltrix_shell_XXXXXX";
        if (mkdtemp(pattern.data())) m_path = pattern;
    }
    ~ShellTestFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path ini() const { return m_path / "Veltrix.ini"; }

    void Write(const std::filesystem::path& file, const std::string& bytes) const {
        std::ofstream(file, std::ios::binary) << bytes;
    }
    static std::string Read(const std::filesystem::path& file) {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // A configuration for the offscreen platform with one screen of the given size.
    std::string OffscreenPlatform(int width, int height) const {
        const auto config = m_path / "screen.json";
        std::ostringstream json;
        json << R"({"screens":[{"name":"test","x":0,"y":0,"width":)" << width << R"(,"height":)" << height
             << R"(,"logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})";
        Write(config, json.str());
        return "offscreen:configfile=" + config.string();
    }

  private:
    std::filesystem::path m_path;
};

// Runs in the child: enter the folder (the settings file is found from the working folder),
// choose the platform before anything of Qt exists and switch the trace lines on (the parent
// never traces, so the child reads the variable first). A child whose folder has no settings file
// would otherwise read and write the user's own one (a language left there by one test showed up
// in the next); its fallback is a folder inside the test's folder. A settings store the parent
// made before the fork (an earlier test in the same process) still points at the parent's file:
// it is dropped, so the child's store is made from the child's folder.
inline void EnterChild(const std::filesystem::path& folder, const std::string& platform = "offscreen") {
    if (chdir(folder.c_str()) != 0) std::_Exit(90);
    setenv("XDG_CONFIG_HOME", (folder / "config-home").c_str(), 1);
    ResetAppSettingsForTest();
    setenv("QT_QPA_PLATFORM", platform.c_str(), 1);
    setenv("VELTRIX_TRACE", "1", 1);
}

// The child's own application object; never destroyed, like the viewer's.
inline QApplication& ChildApplication() {
    static int argc = 1;
    static char name[] = "test_mainwnd";
    static char* argv[] = {name, nullptr};
    return *new QApplication(argc, argv);
}

// Ends the child with a failure message that the parent's EXPECT_EXIT shows.
#define CHILD_CHECK(condition)                                                                               \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "child check failed: %s (line %d)\n", #condition, __LINE__);                \
            std::_Exit(3);                                                                                   \
        }                                                                                                    \
    } while (false)

std::vector<std::string> SplitLinesKeepingEnds(const std::string& bytes);
