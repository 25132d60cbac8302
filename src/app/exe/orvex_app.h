// The application object: brings the process-wide services and the main window up in a fixed
// order and then runs the event loop for the rest of the process.
#pragma once

class QWidget;

class COrvexApp {
  public:
    COrvexApp() = default;
    virtual ~COrvexApp() = default;
    COrvexApp(const COrvexApp&) = delete;
    COrvexApp& operator=(const COrvexApp&) = delete;

    // The process's whole life. Returns false at once when called a second time; on success it
    // does not return: the process ends in the main window's close path or, when the loop
    // returns by itself, with exit code 0 through the normal exit.
    bool InitInstance(int& argc, char** argv);

    // The one-shot guard of InitInstance: true for the first claim in the process only.
    static bool ClaimInitGuard();
    // Chooses the xcb window system when QT_QPA_PLATFORM does not name one.
    static void ChooseWindowSystem();

    QWidget* m_pMainWnd = nullptr;

  protected:
    // The event loop; returns when the application is told to quit.
    virtual int Run();
};
