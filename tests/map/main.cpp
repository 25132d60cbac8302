// One QApplication for every map test. Web engine tests need an X display; the others also run
// on the offscreen platform, which stands in when the display cannot be reached.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", qEnvironmentVariableIsEmpty("DISPLAY") ? "offscreen" : "xcb;offscreen");
    // The map window's tile cache stays out of the ~/.cache of whoever runs the tests: a folder
    // that can never be made gives a profile that keeps nothing on disk (the cache tests give
    // their own folder).
    if (qEnvironmentVariableIsEmpty("XDG_CACHE_HOME")) qputenv("XDG_CACHE_HOME", "/dev/null/veltrix-tests");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
