// How the application object brings up the main window without knowing its class: the one file
// that does (main_window_factory.cpp) builds it, the application object sees a QWidget.
#pragma once

class QWidget;

// Constructs the main window (not yet created or shown). Never null.
QWidget* ConstructMainWindow();
// Modeless creation of a window from ConstructMainWindow: builds it and runs its initialisation.
// True on success.
bool CreateMainWindow(QWidget* window);
// Opens the folder named on the command line in the window, as if chosen in the source dialog.
void OpenStartFolder(QWidget* window, const char* folder);
