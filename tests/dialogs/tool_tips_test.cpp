// Tool tips of a window's controls: the given tools in order, each registered once after any
// number of language changes, the label in the current language beside the 32 x 32 picture 191.
// (Which controls of the main window have tips is the main window's: tests/mainwnd.)
#include <gtest/gtest.h>

#include <QHelpEvent>
#include <QImage>
#include <QPainter>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolTip>

#include <map>
#include <memory>

#include "dialog_test_support.h"
#include "skin_picture.h"
#include "tool_tips.h"

using namespace dialogs_test;

namespace {

// 25 controls of the main window with their texts, in a registration order of their own.
const ToolTableRow kRows[] = {
    {57670, 246}, {1015, 214}, {1014, 213}, {1046, 238}, {1018, 217}, {1023, 225}, {1026, 233},
    {1024, 228},  {1027, 236}, {1022, 222}, {1025, 230}, {4, 241},    {1045, 243}, {1001, 210},
    {1016, 141},  {1005, 212}, {1020, 215}, {1006, 211}, {1017, 216}, {1048, 220}, {1021, 218},
    {1060, 247},  {1053, 147}, {1063, 149}, {1064, 151},
};

// A window with one child per tool, named by control id like the main window's children.
class ToolWindow {
  public:
    explicit ToolWindow(bool withSpeedLabel = true) {
        for (const ToolTableRow& row : kRows) {
            if (!withSpeedLabel && row.m_nCtrlId == 1060) continue;
            auto* control = new QPushButton(&m_window);
            control->setObjectName(QString::number(row.m_nCtrlId));
        }
    }
    QWidget* Control(int id) const { return m_window.findChild<QWidget*>(QString::number(id)); }
    ControlLookupFn Lookup() const {
        return [this](int id) { return Control(id); };
    }
    QWidget m_window;
};

// The rich text of a tip drawn on white.
QImage DrawTip(const QString& html) {
    QTextDocument document;
    document.setHtml(html);
    QImage image(document.size().toSize(), QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    document.drawContents(&painter);
    return image;
}

} // namespace

TEST(ToolTips, AfterTwoLanguageChangesEachControlIsRegisteredOnceInTheCurrentLanguage) {
    SettingsScratch scratch("tool_tips");
    ToolWindow window;
    CToolTips tips;
    scratch.StartIn("ENG");
    EXPECT_EQ(SetupToolTips(tips, kRows, window.Lookup()), 25);
    scratch.StartIn("FRA");
    SetupToolTips(tips, kRows, window.Lookup());
    scratch.StartIn("GER");
    EXPECT_EQ(SetupToolTips(tips, kRows, window.Lookup()), 25);

    ASSERT_EQ(tips.m_toolWindows.size(), 25);
    ASSERT_EQ(tips.m_tools.size(), 25);
    for (size_t i = 0; i < std::size(kRows); ++i) {
        const ToolTableRow& row = kRows[i];
        QWidget* control = window.Control(row.m_nCtrlId);
        EXPECT_EQ(tips.m_toolWindows[qsizetype(i)], control) << "registration order, row " << i;
        EXPECT_EQ(tips.m_toolWindows.count(control), 1) << row.m_nCtrlId;
        EXPECT_EQ(control->toolTip().toStdString(), LoadLangStringFor(1031, row.m_nTextId)) << row.m_nCtrlId;
        const ToolRecord& record = tips.m_tools[qsizetype(i)];
        EXPECT_EQ(record.m_nCtrlId, row.m_nCtrlId);
        EXPECT_EQ(record.m_nDescriptionId, 0);
        EXPECT_EQ(record.m_nImageId, 191);
    }
}

TEST(ToolTips, TheKmlTipShowsItsLabelBesideTheIconAndFollowsTheLanguage) {
    SettingsScratch scratch("tool_tip_kml");
    ToolWindow window;
    CToolTips tips;
    scratch.StartIn("ENG");
    SetupToolTips(tips, kRows, window.Lookup());
    QWidget* kml = window.Control(1024);
    QString tip = tips.PrepareTip(kml);
    EXPECT_EQ(tips.m_nShownCtrlId, 1024);
    EXPECT_TRUE(tip.contains(QStringLiteral("Save GPS data to KML file")));
    EXPECT_TRUE(tip.contains(QStringLiteral("src=\":/png/191.png\" width=\"32\" height=\"32\"")));

    // The icon is really drawn: the picture loads at 32 x 32 and the tip's left 32 columns are not
    // blank paper.
    CSkinPicture icon;
    ASSERT_TRUE(icon.Load(191));
    EXPECT_EQ(icon.Picture().size(), QSize(32, 32));
    const QImage drawn = DrawTip(tip);
    int inked = 0;
    for (int y = 0; y < std::min(drawn.height(), 40); ++y)
        for (int x = 0; x < 36; ++x)
            inked += drawn.pixel(x, y) != qRgb(255, 255, 255);
    EXPECT_GT(inked, 100);

    scratch.StartIn("FRA");
    SetupToolTips(tips, kRows, window.Lookup());
    tip = tips.PrepareTip(kml);
    EXPECT_TRUE(tip.contains(QString::fromStdString(LoadLangStringFor(1036, 228)).toHtmlEscaped()));
}

TEST(ToolTips, HoveringRaisesTheComposedTipAndAPressClosesIt) {
    SettingsScratch scratch("tool_tip_hover");
    ToolWindow window;
    window.m_window.resize(400, 300);
    window.m_window.show();
    CToolTips tips;
    scratch.StartIn("ENG");
    SetupToolTips(tips, kRows, window.Lookup());
    QWidget* slider = window.Control(1021);
    QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), slider->mapToGlobal(QPoint(2, 2)));
    QCoreApplication::sendEvent(slider, &hover);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("191.png")));
    EXPECT_TRUE(QToolTip::text().contains(QStringLiteral("<b>Volume</b>")));
    EXPECT_EQ(tips.m_nShownCtrlId, 1021);

    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    tips.RelayEvent(slider, &press);
    EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000));
}

TEST(ToolTips, AMissingControlIsLeftOutAndARemovedToolLosesItsTip) {
    SettingsScratch scratch("tool_tip_missing");
    ToolWindow window(false);
    CToolTips tips;
    scratch.StartIn("ENG");
    EXPECT_EQ(SetupToolTips(tips, kRows, window.Lookup()), 24);
    EXPECT_EQ(tips.m_toolWindows.size(), 24);
    EXPECT_EQ(tips.m_tools.size(), 25) << "the records follow the table";

    QWidget* about = window.Control(57670);
    tips.DelTool(about);
    EXPECT_FALSE(tips.m_toolWindows.contains(about));
    EXPECT_TRUE(about->toolTip().isEmpty());
    EXPECT_EQ(tips.m_toolWindows.first(), window.Control(1015)) << "later entries move up";
}
