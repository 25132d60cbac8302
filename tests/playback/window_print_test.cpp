// The print command into a PDF file: the window's picture as the screen shows it, scaled to the
// printable area of the page.
#include "playback_test_support.h"
#include "print_rules.h"
#include "window_print.h"

#include <QFile>
#include <QPageLayout>
#include <QPrinter>
#include <QScreen>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// A window of the size the print example uses, shown on the X display.
class PrintedWindow : public QWidget {
  public:
    PrintedWindow() {
        setStyleSheet("background: rgb(200, 40, 40);");
        resize(1250, 560);
        move(20, 20);
        show();
        WaitFor([this] { return windowHandle() && windowHandle()->isExposed(); }, 3000);
    }
};

// A PDF "printer": 8.5 x 11.5 inches at 600 dpi with quarter-inch margins, so the printable area
// is 4800 x 6600 device pixels at (150, 150) on the paper.
AskPrinter PdfPrinter(const QString& file, QRect* printable = nullptr) {
    return [file, printable](QPrinter& printer) {
        EXPECT_TRUE(printer.fullPage());
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setResolution(600);
        printer.setPageLayout(QPageLayout(QPageSize(QSizeF(8.5, 11.5), QPageSize::Inch),
                                          QPageLayout::Portrait, QMarginsF(18, 18, 18, 18),
                                          QPageLayout::Point));
        if (printable) *printable = PrintableArea(printer);
        return true;
    };
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(WindowPrint, WindowPictureFillsThePrintableWidthOfAPdfPage) {
    TestFolder folder;
    PrintedWindow window;
    const QString pdf = folder.File("window.pdf");
    QRect printable;
    const QRect printed = PrintWindowPicture(window.screen(), window.winId(), PdfPrinter(pdf, &printable));

    EXPECT_EQ(printable, QRect(150, 150, 4800, 6600));
    EXPECT_EQ(printed, QRect(150, 150, 4800, 2150)) << "scale 3.84 from the printable corner";
    EXPECT_EQ(printed, PrintTargetRect({1250, 560}, printable));
    const QByteArray bytes = ReadAll(pdf);
    ASSERT_GT(bytes.size(), 1000);
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    // One page, with the window's picture at its own size inside.
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
    EXPECT_TRUE(bytes.contains("/Width 1250")) << "the captured picture is 1250 wide";
    EXPECT_TRUE(bytes.contains("/Height 560"));
}

TEST(WindowPrint, CancelledDialogOrEmptyCaptureWritesNoDocument) {
    TestFolder folder;
    PrintedWindow window;
    EXPECT_TRUE(
        PrintWindowPicture(window.screen(), window.winId(), [](QPrinter&) { return false; }).isEmpty());

    // A window that no longer exists captures nothing: no print dialog, no job.
    auto* gone = new QWidget;
    gone->setAttribute(Qt::WA_NativeWindow);
    const WId goneId = gone->winId();
    delete gone;
    bool asked = false;
    const QString pdf = folder.File("none.pdf");
    const QRect printed = PrintWindowPicture(window.screen(), goneId, [&](QPrinter& printer) {
        asked = true;
        return PdfPrinter(pdf)(printer);
    });
    EXPECT_TRUE(printed.isEmpty());
    EXPECT_FALSE(asked);
    EXPECT_FALSE(QFile::exists(pdf));
}

// How the command ended, so that a failure can be said in words and a cancel stays silent.
TEST(WindowPrint, TheOutcomeTellsPrintedCancelledAndFailedApart) {
    TestFolder folder;
    PrintedWindow window;
    PrintOutcome outcome = PrintOutcome::kFailed;
    PrintWindowPicture(window.screen(), window.winId(), PdfPrinter(folder.File("ok.pdf")), &outcome);
    EXPECT_EQ(outcome, PrintOutcome::kPrinted);
    PrintWindowPicture(window.screen(), window.winId(), [](QPrinter&) { return false; }, &outcome);
    EXPECT_EQ(outcome, PrintOutcome::kCancelled);
    // The printer cannot start the job (its output folder does not exist).
    const QString lost = folder.File("no such folder/lost.pdf");
    const QRect printed = PrintWindowPicture(window.screen(), window.winId(), PdfPrinter(lost), &outcome);
    EXPECT_TRUE(printed.isEmpty());
    EXPECT_EQ(outcome, PrintOutcome::kFailed);
    EXPECT_FALSE(QFile::exists(lost));
}

} // namespace
