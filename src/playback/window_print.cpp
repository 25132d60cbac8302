#include "window_print.h"

#include "language.h"
#include "print_rules.h"
#include "string_tables.h"

#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QWidget>

namespace {
constexpr unsigned IDS_PRINT_CAPTION = 136; // "Warning"
} // namespace

bool AskPrinterWithDialog(QPrinter& printer, QWidget* owner) {
    QPrintDialog dialog(&printer, owner);
    dialog.setAccessibleName(dialog.windowTitle());
    return dialog.exec() == QDialog::Accepted;
}

QRect PrintableArea(const QPrinter& printer) {
    // In full-page mode the layout's paint rectangle is the whole paper; the margins still hold the
    // printable area, which a standard-mode copy gives in paper coordinates.
    QPageLayout layout = printer.pageLayout();
    layout.setMode(QPageLayout::StandardMode);
    return layout.paintRectPixels(printer.resolution());
}

QRect PrintPicture(const QPixmap& picture, QPrinter& printer) {
    if (picture.isNull()) return {};
    printer.setFullPage(true); // the painter's origin at the paper's corner
    const QRect target = PrintTargetRect(picture.size(), PrintableArea(printer));
    if (target.isEmpty()) return {};
    printer.setDocName("Print Bitmap");
    QPainter painter;
    if (!painter.begin(&printer)) return {};
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(target, picture, picture.rect());
    return painter.end() ? target : QRect();
}

QRect PrintWindowPicture(QScreen* screen, WId window, const AskPrinter& askPrinter, PrintOutcome* outcome) {
    PrintOutcome ignored;
    PrintOutcome& ended = outcome ? *outcome : ignored;
    ended = PrintOutcome::kFailed;
    if (!screen) return {};
    const QPixmap picture = screen->grabWindow(window);
    if (picture.isNull() || picture.size().isEmpty()) return {};
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName("Print Bitmap");
    if (!askPrinter || !askPrinter(printer)) {
        ended = PrintOutcome::kCancelled;
        return {};
    }
    const QRect printed = PrintPicture(picture, printer);
    if (!printed.isEmpty()) ended = PrintOutcome::kPrinted;
    return printed;
}

PrintOutcome PrintMainWindow(QWidget* mainWindow) {
    if (!mainWindow) return PrintOutcome::kFailed;
    PrintOutcome outcome = PrintOutcome::kFailed;
    PrintWindowPicture(
        mainWindow->screen(), mainWindow->winId(),
        [mainWindow](QPrinter& printer) { return AskPrinterWithDialog(printer, mainWindow); }, &outcome);
    if (outcome == PrintOutcome::kFailed) {
        const QString caption = QString::fromStdString(LoadLangString(IDS_PRINT_CAPTION));
        QMessageBox box(QMessageBox::Warning, caption, QString::fromStdString(LoadLangString(IDS_PRINT_FAILED)),
                        QMessageBox::Ok, mainWindow);
        box.setAccessibleName(caption);
        box.exec();
    }
    return outcome;
}
