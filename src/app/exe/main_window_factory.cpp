#include "main_window_factory.h"

#include "orvex_dlg.h"

QWidget* ConstructMainWindow() {
    return new COrvexDlg;
}

bool CreateMainWindow(QWidget* window) {
    return static_cast<COrvexDlg*>(window)->Create();
}

void OpenStartFolder(QWidget* window, const char* folder) {
    if (folder && *folder) static_cast<COrvexDlg*>(window)->OpenFolder(std::filesystem::path(folder));
}
