#include "e2e_child.h"

#include "fixture_writer.h"
#include "settings_test_support.h"

#include <QTest>
#include <QWidget>

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>
#include <fstream>
#include <unistd.h>

namespace e2e {

namespace {
constexpr int kChildLimitSeconds = 300;
std::atomic<int> g_checkLine{0};
} // namespace

void AtCheck(int line) {
    g_checkLine = line;
}

std::string RecordingName(int64_t start, int number, bool rear) {
    const time_t time = static_cast<time_t>(start);
    std::tm t{};
    localtime_r(&time, &t);
    char name[64];
    std::snprintf(name, sizeof name, "%04d_%02d_%02d_%02d%02d%02d_%02d%s.MP4", t.tm_year + 1900, t.tm_mon + 1,
                  t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, number, rear ? "_b" : "");
    return name;
}

std::filesystem::path WindowWorkFolder(const char* name, int height) {
    const std::filesystem::path work = fixtures::ScratchDir(name);
    std::ofstream(work / "Veltrix.ini", std::ios::binary)
        << "[UI]\nLANGID=ENG\nMAP=2\n[WINPOS]\nLEFT=0\nTOP=0\nRIGHT=1250\nBOTTOM=" << height << "\n";
    return work;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t Occurrences(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

void EnterChild(const std::filesystem::path& folder) {
    if (chdir(folder.c_str()) != 0) std::_Exit(90);
    setenv("HOME", folder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder / ".config").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    // A store made by the parent before the fork would still read and write the parent's file.
    ResetAppSettingsForTest();
    // A child that hangs (a dialog nobody answers, a player that never reports) fails with words
    // instead of holding the whole run until the test driver's own limit.
    std::thread([] {
        std::this_thread::sleep_for(std::chrono::seconds(kChildLimitSeconds));
        std::fprintf(stderr, "check failed: the child did not end within %d s (at the check on line %d)\n",
                     kChildLimitSeconds, g_checkLine.load());
        std::_Exit(5);
    }).detach();
}

QApplication& ChildApplication() {
    static int argc = 1;
    static char name[] = "test_e2e";
    static char* argv[] = {name, nullptr};
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    static QApplication* application = new QApplication(argc, argv);
    return *application;
}

bool ShowExposed(QWidget& window) {
    window.show();
    return QTest::qWaitForWindowExposed(&window);
}

} // namespace e2e
