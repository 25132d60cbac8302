// The about box: its title follows the language, its captions stay, picture 248, and the list of
// keyboard shortcuts.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "about_dlg.h"
#include "command_table.h"
#include "dialog_test_support.h"

using namespace dialogs_test;

TEST(AboutDialog, TitleFollowsTheLanguageWhileTheCaptionsStay) {
    SettingsScratch scratch("about");
    scratch.StartIn("ENG");
    CAboutDlg about({});
    about.OnInitDialog();
    EXPECT_EQ(about.windowTitle(), QStringLiteral("&About Halvorn Veltrix"));
    EXPECT_EQ(about.font().family(), QStringLiteral("Georgia"));
    EXPECT_EQ(about.findChild<QLabel*>("1051")->text(), QStringLiteral("Halvorn Veltrix"));
    EXPECT_EQ(about.findChild<QLabel*>("1056")->text(), QStringLiteral("Version 1.04"));
    EXPECT_TRUE(about.findChild<QLabel*>("1073")->isHidden());
    const QPixmap picture = about.findChild<QLabel*>("1069")->pixmap();
    EXPECT_EQ(picture.size(), QSize(64, 64));
    EXPECT_TRUE(about.findChild<QPushButton*>("1")->isDefault());

    scratch.StartIn("RUS");
    about.OnInitDialog();
    EXPECT_EQ(about.windowTitle().toStdString(), LoadLangStringFor(1049, 101));
    EXPECT_EQ(about.findChild<QLabel*>("1051")->text(), QStringLiteral("Halvorn Veltrix"));
}

TEST(AboutDialog, ListsTheShortcutsItIsGivenUnderHeadingsInTheCurrentLanguage) {
    SettingsScratch scratch("about_keys");
    scratch.StartIn("FRA");
    const std::vector<ShortcutRow> rows = {{QStringLiteral("Ctrl+E"), QStringLiteral("kml")},
                                           {QStringLiteral("Space"), QStringLiteral("play")}};
    CAboutDlg about(rows);
    about.OnInitDialog();
    auto* table = about.findChild<QTableWidget*>("shortcuts");
    ASSERT_NE(table, nullptr);
    ASSERT_EQ(table->rowCount(), 2);
    for (int r = 0; r < table->rowCount(); ++r) {
        EXPECT_EQ(table->item(r, 0)->text(), rows[size_t(r)].m_strKey);
        EXPECT_EQ(table->item(r, 1)->text(), rows[size_t(r)].m_strCommand);
    }
    EXPECT_EQ(table->horizontalHeaderItem(0)->text().toStdString(), LoadLangStringFor(1036, 1128));
    EXPECT_EQ(table->accessibleName().toStdString(), LoadLangStringFor(1036, 1127));
}

TEST(AboutDialog, OkClosesTheBox) {
    CAboutDlg about({});
    WhenModalShows<CAboutDlg>([](CAboutDlg& shown) { shown.findChild<QPushButton*>("1")->click(); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}
