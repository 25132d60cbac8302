// libVLC embeds its video into X11 windows, so the widgets run on xcb (the xvfb display in tests).
#include <QApplication>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace {

// An X server whose last client leaves resets itself, and refuses connections meanwhile; test programs
// start and end back to back, so Qt's single connection attempt now and then fails. Hold a plain
// connection (libxcb, as Qt's xcb plugin uses) from before Qt connects until the tests end.
class DisplayHold {
  public:
    DisplayHold() {
        m_xcb = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!m_xcb) return;
        auto connect = reinterpret_cast<void* (*)(const char*, int*)>(dlsym(m_xcb, "xcb_connect"));
        auto hasError = reinterpret_cast<int (*)(void*)>(dlsym(m_xcb, "xcb_connection_has_error"));
        m_disconnect = reinterpret_cast<void (*)(void*)>(dlsym(m_xcb, "xcb_disconnect"));
        if (!connect || !hasError || !m_disconnect) return;
        for (int attempt = 0; attempt < 40; ++attempt) {
            void* connection = connect(nullptr, nullptr);
            if (hasError(connection) == 0) {
                m_connection = connection;
                return;
            }
            m_disconnect(connection);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    ~DisplayHold() {
        if (m_connection) m_disconnect(m_connection);
        if (m_xcb) dlclose(m_xcb);
    }
    bool Held() const { return m_connection != nullptr; }

  private:
    void* m_xcb = nullptr;
    void* m_connection = nullptr;
    void (*m_disconnect)(void*) = nullptr;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
    const bool onX = std::string(std::getenv("QT_QPA_PLATFORM")) == "xcb";
    DisplayHold display;
    if (onX && (!std::getenv("DISPLAY") || !display.Held())) {
        std::fprintf(stderr, "No X display answers: run these tests inside xvfb (./test.sh does).\n");
        return 1;
    }
    int result;
    {
        QApplication app(argc, argv);
        result = RUN_ALL_TESTS();
    }
    return result;
}
