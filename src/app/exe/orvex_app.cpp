#include "orvex_app.h"

#include "main_window_factory.h"
#include "trace.h"

#include <QApplication>
#include <QCoreApplication>
#include <QWidget>

#include <atomic>
#include <cstdlib>

namespace {

std::atomic<bool> s_bInitDone{false};
// Kept for the whole process and never deleted: the process ends without tearing anything down.
QApplication* s_pApplication = nullptr;

} // namespace

void COrvexApp::ChooseWindowSystem() {
    // libVLC embeds its video into X11 windows, so the viewer runs on xcb unless told otherwise.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "xcb", 1);
}

bool COrvexApp::ClaimInitGuard() {
    return !s_bInitDone.exchange(true);
}

// QCoreApplication::exit() ends this loop and so takes the normal exit; quit() would first close
// the main window, which ends the process through its close path.
int COrvexApp::Run() {
    return QApplication::exec();
}

bool COrvexApp::InitInstance(int& argc, char** argv) {
    if (!ClaimInitGuard()) return false;
    Trace("----->> COrvexApp::InitInstance +++++ \n");

    // The widget toolkit takes the place of the common controls. The embedded web engine needs
    // shared OpenGL contexts, which must be chosen before the application object exists.
    ChooseWindowSystem();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    s_pApplication = new QApplication(argc, argv);
    // The name of the installed desktop entry (res/desktop): the desktop shell matches the window
    // to its menu entry and icon by it.
    QApplication::setDesktopFileName(QStringLiteral("io.github.halvorn.Veltrix"));
    // Graphics start-up: QPainter needs none.

    Trace("----->> COrvexApp::InitInstance ********** 111 \n");
    // Sockets start-up: nothing to do on this platform.
    // Control container (ActiveX hosting): nothing to do on this platform.
    Trace("----->> COrvexApp::InitInstance ********** 222 \n");
    // Registry key name: nothing to do; the settings live in the INI file.

    // The main window lives for the rest of the process and is never destroyed.
    m_pMainWnd = ConstructMainWindow();
    Trace("----->> COrvexApp::InitInstance ********** 333 \n");
    CreateMainWindow(m_pMainWnd);
    m_pMainWnd->show();
    // `veltrix FOLDER`: the toolkit has taken its own options out of argv by now.
    if (argc > 1) OpenStartFolder(m_pMainWnd, argv[1]);
    Trace("----->> COrvexApp::InitInstance ********** 444 \n");

    Run();

    Trace("----->> COrvexApp::InitInstance ********** 555 \n");
    Trace("----->> COrvexApp::InitInstance ----- \n");
    std::exit(0);
}
