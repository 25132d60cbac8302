// The configuration dialog driven through its buttons: Apply acts at once and tells the main
// window, Cancel undoes nothing, OK restarts the program exactly when the language changed.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "dialog_test_support.h"
#include "string_tables.h"
#include "config_dialog.h"

using namespace dialogs_test;

namespace {

QString Text(uint16_t langId, unsigned id) {
    return QString::fromStdString(LoadLangStringFor(langId, id));
}

void Click(CConfigDialog& dialog, int id) {
    dialog.findChild<QPushButton*>(QString::number(id))->click();
}

void Choose(QComboBox* list, const char* code) {
    list->setCurrentIndex(FindLanguage(code));
}

// A main window stand-in: records the messages, the map kind taken after OK and every restart step.
struct ConfigRun {
    MessageLog window;
    std::vector<int> takenMapKinds;
    std::vector<std::string> restartSteps;

    ConfigCommandHooks Hooks() {
        ConfigCommandHooks hooks;
        hooks.takeMapKind = [this](int kind) { takenMapKinds.push_back(kind); };
        hooks.restart.savePosition = [this] { restartSteps.push_back("position"); };
        hooks.restart.startProcess = [this](const QString&, const QString&, QString*) {
            restartSteps.push_back("start");
            return true;
        };
        hooks.restart.endProcess = [this] { restartSteps.push_back("end"); };
        hooks.restart.tellFailure = [this](const QString&) { restartSteps.push_back("failure"); };
        return hooks;
    }
};

// The configuration command over the stand-in window, acted on by `act` once it shows.
int RunWith(ConfigRun& run, std::function<void(CConfigDialog&)> act) {
    WhenModalShows<CConfigDialog>(std::move(act));
    const int result = RunConfigCommand(&run.window, run.Hooks());
    run.window.Flush();
    return result;
}

} // namespace

TEST(ConfigDialog, ListsEveryLanguageAndTheThreeMapsWithoutTyping) {
    SettingsScratch scratch("config_lists");
    scratch.StartIn("GER");
    GetAppSettings().WriteInt("UI", "MAP", 7);
    CConfigDialog dialog;
    dialog.OnInitDialog();
    ASSERT_EQ(dialog.m_cbLang->count(), kLanguageCount);
    EXPECT_EQ(dialog.m_cbLang->itemText(0), QStringLiteral("English"));
    EXPECT_EQ(dialog.m_cbLang->itemText(1), QStringLiteral("简体中文"));
    EXPECT_EQ(dialog.m_cbLang->itemText(2), QStringLiteral("繁體中文"));
    EXPECT_EQ(dialog.m_cbLang->currentText(), QStringLiteral("Deutsch"));
    ASSERT_EQ(dialog.m_cbMap->count(), 3);
    EXPECT_EQ(dialog.m_cbMap->itemText(2), QStringLiteral("OpenStreetMap-Karte"));
    EXPECT_EQ(dialog.m_cbMap->currentIndex(), 2) << "MAP 7 is clamped to 2";
    EXPECT_FALSE(dialog.m_cbMap->isEditable());
    EXPECT_FALSE(dialog.m_cbLang->isEditable());
    EXPECT_EQ(dialog.windowTitle(), Text(1031, 111));
    EXPECT_EQ(dialog.findChild<QGroupBox*>("1042")->title(), Text(1031, 115));
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        if (control->objectName().toInt() <= 0) continue;
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
    }
}

TEST(ConfigDialog, LanguageApplyThenCancelChangesTheTextsButNotTheMapListAndDoesNotRestart) {
    SettingsScratch scratch("config_cancel");
    scratch.StartIn("ENG");
    ConfigRun run;
    QString titleAfterApply, applyAfterApply;
    QStringList mapItems;
    const int result = RunWith(run, [&](CConfigDialog& dialog) {
        dialog.m_cbMap->setCurrentIndex(1);
        Choose(dialog.m_cbLang, "FRA");
        Click(dialog, 1044);
        titleAfterApply = dialog.windowTitle();
        applyAfterApply = dialog.findChild<QPushButton*>("1039")->text();
        for (int i = 0; i < dialog.m_cbMap->count(); ++i)
            mapItems << dialog.m_cbMap->itemText(i);
        EXPECT_EQ(dialog.m_cbMap->currentIndex(), 1) << "the map choice survives the new texts";
        Click(dialog, 2);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(scratch.Read("LANGID"), "FRA");
    EXPECT_EQ(GetAppSettings().m_nLangIndex, FindLanguage("FRA"));
    EXPECT_EQ(titleAfterApply, Text(1036, 111));
    EXPECT_EQ(applyAfterApply, Text(1036, 110));
    EXPECT_EQ(mapItems, QStringList({Text(1033, 106), Text(1033, 107), Text(1033, 171)}));
    ASSERT_EQ(run.window.Count(MSG_LANGUAGE_CHANGED), 1);
    EXPECT_EQ(run.window.m_messages.back().second, uintptr_t(FindLanguage("FRA")));
    EXPECT_EQ(run.window.Count(MSG_MAP_CHANGED), 0) << "the map was only chosen, not applied";
    EXPECT_EQ(scratch.Read("MAP"), "<none>");
    EXPECT_TRUE(run.takenMapKinds.empty());
    EXPECT_TRUE(run.restartSteps.empty());
}

TEST(ConfigDialog, ApplyFrenchThenEnglishThenOkRestarts) {
    SettingsScratch scratch("config_back");
    scratch.StartIn("ENG");
    ConfigRun run;
    const int result = RunWith(run, [&](CConfigDialog& dialog) {
        Choose(dialog.m_cbLang, "FRA");
        Click(dialog, 1044);
        Choose(dialog.m_cbLang, "ENG");
        Click(dialog, 1044);
        EXPECT_EQ(dialog.m_nLangAtOpen, FindLanguage("FRA"));
        Click(dialog, 1);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(scratch.Read("LANGID"), "ENG");
    EXPECT_EQ(run.window.Count(MSG_LANGUAGE_CHANGED), 3) << "two Applies and OK";
    EXPECT_EQ(run.restartSteps, (std::vector<std::string>{"position", "start", "end"}));
}

TEST(ConfigDialog, OkUntouchedDoesNotRestartEvenWithAStaleRowFromEarlier) {
    SettingsScratch scratch("config_ok");
    scratch.StartIn("JPN");
    GetAppSettings().WriteInt("UI", "MAP", 1);
    ConfigRun run;
    QWidget owner;
    CConfigDialog dialog(&owner, &run.window);
    dialog.m_nLangAtOpen = FindLanguage("ENG"); // left over by an earlier showing
    WhenModalShows<CConfigDialog>([](CConfigDialog& shown) { Click(shown, 1); });
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    run.window.Flush();
    EXPECT_FALSE(dialog.RestartNeeded());
    EXPECT_EQ(dialog.m_nMapKind, 1);
    EXPECT_EQ(scratch.Read("MAP"), "1");
    EXPECT_EQ(scratch.Read("LANGID"), "JPN");
    EXPECT_EQ(run.window.Count(MSG_MAP_CHANGED), 1);
    EXPECT_EQ(run.window.Count(MSG_LANGUAGE_CHANGED), 1);
}

TEST(ConfigDialog, OkWithANewLanguageRestartsOnce) {
    SettingsScratch scratch("config_ok_new");
    scratch.StartIn("ENG");
    ConfigRun run;
    RunWith(run, [&](CConfigDialog& dialog) {
        Choose(dialog.m_cbLang, "KOR");
        Click(dialog, 1);
    });
    EXPECT_EQ(scratch.Read("LANGID"), "KOR");
    EXPECT_EQ(run.restartSteps, (std::vector<std::string>{"position", "start", "end"}));
}

TEST(ConfigDialog, MapApplyWithOpenStreetMapStaysAppliedAfterCancel) {
    SettingsScratch scratch("config_map");
    scratch.StartIn("ENG");
    ConfigRun run;
    const int result = RunWith(run, [&](CConfigDialog& dialog) {
        dialog.m_cbMap->setCurrentIndex(2);
        Click(dialog, 1039);
        Click(dialog, 2);
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_EQ(scratch.Read("MAP"), "2");
    EXPECT_EQ(GetAppSettings().m_nMapKind, 2);
    ASSERT_EQ(run.window.Count(MSG_MAP_CHANGED), 1);
    EXPECT_EQ(run.window.m_messages.front(), std::make_pair(int(MSG_MAP_CHANGED), uintptr_t(2)));
    EXPECT_EQ(run.window.Count(MSG_LANGUAGE_CHANGED), 0);
    EXPECT_TRUE(run.restartSteps.empty());
}

TEST(ConfigDialog, TheCommandHandsTheMapKindToTheWindowAfterOkOnly) {
    SettingsScratch scratch("config_command");
    scratch.StartIn("ENG");
    ConfigRun run;
    EXPECT_EQ(RunWith(run, [](CConfigDialog& dialog) { Click(dialog, 2); }), QDialog::Rejected);
    EXPECT_TRUE(run.takenMapKinds.empty());
    const int result = RunWith(run, [](CConfigDialog& dialog) {
        dialog.m_cbMap->setCurrentIndex(1);
        Click(dialog, 1);
    });
    EXPECT_EQ(result, QDialog::Accepted);
    EXPECT_EQ(run.takenMapKinds, std::vector<int>{1});
    EXPECT_TRUE(run.restartSteps.empty());
}

// "Clear map cache": disabled without a map to clear, otherwise it clears once per press (mouse or
// keyboard) and says the outcome in the dialog's language.
TEST(ConfigDialog, ClearMapCacheClearsOncePerPressAndSaysTheOutcome) {
    SettingsScratch scratch("config_cache");
    scratch.StartIn("RUS");
    CConfigDialog dialog;
    dialog.OnInitDialog();
    QPushButton* clear = dialog.ClearMapCacheButton();
    EXPECT_FALSE(clear->isEnabled()) << "no map: nothing to clear";
    EXPECT_EQ(clear->text(), QStringLiteral("Очистить кэш карты"));
    EXPECT_EQ(clear->accessibleName(), clear->text());
    EXPECT_NE(clear->focusPolicy() & Qt::TabFocus, 0) << "reached with Tab";

    int calls = 0;
    bool keepsCache = true;
    dialog.SetMapCacheClearer([&] {
        ++calls;
        return keepsCache;
    });
    ASSERT_TRUE(clear->isEnabled());
    clear->click();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(dialog.MapCacheStatus()->text(), Text(1049, 1161));
    keepsCache = false;
    clear->setFocus();
    clear->animateClick(); // what Space on the focused button does
    EXPECT_TRUE(QTest::qWaitFor([&] { return calls == 2; }, 2000));
    EXPECT_EQ(dialog.MapCacheStatus()->text(), Text(1049, 1162));
    EXPECT_EQ(calls, 2) << "nothing else clears";
}

TEST(ConfigDialog, TheConfigurationCommandHandsTheMapCacheClearerToTheDialog) {
    SettingsScratch scratch("config_cache_command");
    scratch.StartIn("ENG");
    ConfigRun run;
    int calls = 0;
    WhenModalShows<CConfigDialog>([&](CConfigDialog& dialog) {
        EXPECT_TRUE(dialog.ClearMapCacheButton()->isEnabled());
        dialog.ClearMapCacheButton()->click();
        EXPECT_EQ(dialog.MapCacheStatus()->text(), QStringLiteral("The map cache is being emptied."));
        dialog.reject();
    });
    ConfigCommandHooks hooks = run.Hooks();
    hooks.clearMapCache = [&] { return ++calls > 0; };
    EXPECT_EQ(RunConfigCommand(&run.window, hooks), QDialog::Rejected);
    EXPECT_EQ(calls, 1);
}
