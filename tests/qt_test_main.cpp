// One application object for a whole test program (widget, dialog and rule tests): its event queue
// is the UI thread's. The offscreen platform is chosen before it exists, so no display is needed.
#include <gtest/gtest.h>

#include <QApplication>

#include <cstdlib>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    setenv("TZ", "Europe/Berlin", 0);
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
