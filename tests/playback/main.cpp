// libVLC embeds its video into X11 windows, so the widgets run on xcb (the xvfb display in tests).
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
    if (!std::getenv("DISPLAY") && std::string(std::getenv("QT_QPA_PLATFORM")) == "xcb") {
        std::fprintf(stderr, "No DISPLAY: run these tests inside xvfb (./test.sh does).\n");
        return 1;
    }
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
