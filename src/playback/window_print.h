// The print command (1077): the main window's picture, as the screen shows it (the video panes
// included), printed on one page through the print dialog.
#pragma once

#include <QRect>
#include <QtGui/qwindowdefs.h>
#include <functional>

class QPixmap;
class QPrinter;
class QScreen;
class QWidget;

// Chooses and sets up the printer; false when the user cancelled.
using AskPrinter = std::function<bool(QPrinter& printer)>;

// The modal print dialog on printer, owned by owner.
bool AskPrinterWithDialog(QPrinter& printer, QWidget* owner);

// The page's printable area in device pixels, placed on the paper (where a full-page printer's
// painter has its origin), whatever page mode the printer is in.
QRect PrintableArea(const QPrinter& printer);

// Prints picture on one page of a document named "Print Bitmap", scaled by PrintTargetRect.
// Returns the rectangle it filled; empty when nothing was printed (empty picture, no page).
QRect PrintPicture(const QPixmap& picture, QPrinter& printer);

// How a print command ended: cancelled by the user is not a failure.
enum class PrintOutcome { kPrinted, kCancelled, kFailed };

// The command: captures window (its id) from screen before any dialog shows, then asks for the
// printer and prints. An empty capture skips the dialog and the print job. Returns what PrintPicture did;
// `outcome`, when given, receives how it ended.
QRect PrintWindowPicture(QScreen* screen, WId window, const AskPrinter& askPrinter,
                         PrintOutcome* outcome = nullptr);

// What the main window calls: its own picture, the print dialog owned by it; a failure is said in
// a message box (string 1146).
PrintOutcome PrintMainWindow(QWidget* mainWindow);
