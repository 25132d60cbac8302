// The main window's title, which the window manager and the task bar show (the window draws no
// caption of its own).
#pragma once

#include <QString>

inline constexpr char kProductName[] = "Halvorn Veltrix";

// "Halvorn Veltrix", or "<file name> - Halvorn Veltrix" while a recording is open.
QString MainWindowTitle(const QString& fileName);
