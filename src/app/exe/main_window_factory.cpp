#include "main_window_factory.h"

#include "main_window.h"

QWidget* ConstructMainWindow() {
    return new COrvexMainWindow;
}

bool CreateMainWindow(QWidget* window) {
    return static_cast<COrvexMainWindow*>(window)->Create();
}

void OpenStartFolder(QWidget* window, const char* folder) {
    if (folder && *folder) static_cast<COrvexMainWindow*>(window)->OpenFolder(std::filesystem::path(folder));
}
