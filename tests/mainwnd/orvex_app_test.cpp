#include "shell_test_support.h"

#include "orvex_app.h"
#include "main_window.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdlib>
#include <cstring>

namespace {

class OrvexAppTest : public testing::Test {
  protected:
    ShellTestFolder folder;
    std::filesystem::path traceFile = folder.path() / "stdout.txt";
};

// Checks the running application from inside the loop step, then lets the loop return.
class LoopCheckingApp : public COrvexApp {
  public:
    int m_argc = 1;
    char m_name[16] = "veltrix";
    char* m_argv[2] = {m_name, nullptr};

  protected:
    int Run() override {
        auto* dlg = dynamic_cast<COrvexMainWindow*>(m_pMainWnd);
        CHILD_CHECK(dlg != nullptr);
        CHILD_CHECK(dlg->isVisible());
        CHILD_CHECK(dlg->geometry() == QRect(0, 0, 1250, 560));
        CHILD_CHECK(QCoreApplication::testAttribute(Qt::AA_ShareOpenGLContexts));
        // A second start-up inside the running one is refused before it touches anything.
        int argc = 1;
        CHILD_CHECK(!InitInstance(argc, m_argv));
        // exit(), not quit(): quit() first closes the windows, which is the close path.
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        return COrvexApp::Run();
    }
};

} // namespace

TEST_F(OrvexAppTest, StartUpTracesInOrderAndTheReturningLoopExitsWithZero) {
    const std::string fullHd = folder.OffscreenPlatform(1920, 1080);
    EXPECT_EXIT(
        {
            EnterChild(folder.path(), fullHd);
            if (!std::freopen(traceFile.c_str(), "w", stdout)) std::_Exit(91);
            LoopCheckingApp app;
            app.InitInstance(app.m_argc, app.m_argv);
            std::_Exit(5); // InitInstance returned instead of ending the process
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(ShellTestFolder::Read(traceFile), "----->> COrvexApp::InitInstance +++++ \n"
                                                "----->> COrvexApp::InitInstance ********** 111 \n"
                                                "----->> COrvexApp::InitInstance ********** 222 \n"
                                                "----->> COrvexApp::InitInstance ********** 333 \n"
                                                "----->> COrvexApp::InitInstance ********** 444 \n"
                                                "----->> COrvexApp::InitInstance ********** 555 \n"
                                                "----->> COrvexApp::InitInstance ----- \n");
    // Only closing the window saves its position.
    EXPECT_FALSE(std::filesystem::exists(folder.ini()));
}

TEST_F(OrvexAppTest, ClaimedGuardRefusesStartUpWithoutSideEffects) {
    EXPECT_EXIT(
        {
            EnterChild(folder.path());
            if (!std::freopen(traceFile.c_str(), "w", stdout)) std::_Exit(91);
            CHILD_CHECK(COrvexApp::ClaimInitGuard());
            CHILD_CHECK(!COrvexApp::ClaimInitGuard());
            LoopCheckingApp app;
            CHILD_CHECK(!app.InitInstance(app.m_argc, app.m_argv));
            CHILD_CHECK(QCoreApplication::instance() == nullptr);
            CHILD_CHECK(app.m_pMainWnd == nullptr);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
    EXPECT_EQ(ShellTestFolder::Read(traceFile), "");
}

TEST_F(OrvexAppTest, WindowSystemIsXcbUnlessChosen) {
    EXPECT_EXIT(
        {
            unsetenv("QT_QPA_PLATFORM");
            COrvexApp::ChooseWindowSystem();
            const char* chosen = std::getenv("QT_QPA_PLATFORM");
            CHILD_CHECK(chosen && std::strcmp(chosen, "xcb") == 0);
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            COrvexApp::ChooseWindowSystem();
            CHILD_CHECK(std::strcmp(std::getenv("QT_QPA_PLATFORM"), "offscreen") == 0);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
