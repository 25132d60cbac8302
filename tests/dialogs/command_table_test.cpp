// The command table behind the context menu and the keyboard: every command once, every key of a
// player once, labels in the current language, and the keys and menu reach their commands.
#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QTest>

#include <map>
#include <memory>
#include <set>

#include "command_table.h"
#include "dialog_test_support.h"
#include "string_tables.h"

using namespace dialogs_test;

namespace {

// The main window's commands and the playback and navigation buttons.
const int kEveryCommand[] = {1015, 1045, 4,    1046, 57670, 1048, 1022, 1024,          1005, 1014,
                             1027, 1025, 1026, 1053, 1063,  1064, 1077, 1006,          1016, 1017,
                             1018, 1020, 1080, 1023, 1001,  1078, 1079, CMD_FULL_VIDEO};

const std::pair<QKeySequence, int> kPlayerKeys[] = {
    {QKeySequence(Qt::Key_Space), 1016},
    {QKeySequence(Qt::Key_Left), CMD_SEEK_BACK},
    {QKeySequence(Qt::Key_Right), CMD_SEEK_FORWARD},
    {QKeySequence(Qt::Key_Up), CMD_VOLUME_UP},
    {QKeySequence(Qt::Key_Down), CMD_VOLUME_DOWN},
    {QKeySequence(Qt::Key_Plus), 1018},
    {QKeySequence(Qt::Key_Minus), 1020},
    {QKeySequence(Qt::KeypadModifier | Qt::Key_Plus), 1018},
    {QKeySequence(Qt::KeypadModifier | Qt::Key_Minus), 1020},
    {QKeySequence(Qt::Key_PageUp), 1078},
    {QKeySequence(Qt::Key_PageDown), 1079},
    {QKeySequence(Qt::Key_F), CMD_FULL_VIDEO},
    {QKeySequence(Qt::Key_M), 1048},
    {QKeySequence(Qt::ControlModifier | Qt::Key_O), 1001},
    {QKeySequence(Qt::ControlModifier | Qt::Key_S), 1006},
    {QKeySequence(Qt::ControlModifier | Qt::Key_P), 1077},
    {QKeySequence(Qt::ControlModifier | Qt::Key_E), 1024},
    {QKeySequence(Qt::Key_Delete), 1014},
    {QKeySequence(Qt::ControlModifier | Qt::Key_Q), 1046},
};

} // namespace

TEST(CommandTable, EveryCommandOnceEveryPlayerKeyOnceAndEscapeIsNoShortcut) {
    std::map<int, int> seen;
    for (const CommandEntry& entry : CommandTable())
        ++seen[entry.m_nCommand];
    for (const auto& [command, count] : seen)
        EXPECT_EQ(count, 1) << command;
    for (int command : kEveryCommand)
        EXPECT_NE(FindCommand(command), nullptr) << command;

    std::set<QKeySequence> keys;
    size_t keyCount = 0;
    for (const CommandEntry& entry : CommandTable())
        for (const QKeySequence& key : entry.m_Keys) {
            keys.insert(key);
            ++keyCount;
        }
    EXPECT_EQ(keys.size(), keyCount) << "no key gives two commands";
    for (const auto& [key, command] : kPlayerKeys)
        EXPECT_EQ(CommandForKey(key), command) << key.toString().toStdString();
    EXPECT_EQ(keyCount, std::size(kPlayerKeys)) << "no key beyond the player keys";
    EXPECT_EQ(CommandForKey(QKeySequence(Qt::Key_Escape)), 0);
    EXPECT_EQ(EscapeActionFor(true), EscapeAction::kLeaveFullVideo);
    EXPECT_EQ(EscapeActionFor(false), EscapeAction::kNothing);
}

TEST(CommandTable, LabelsAreTheToolTipTextsAndExistInEveryLanguage) {
    EXPECT_EQ(FindCommand(1024)->m_nLabelId, 228u);
    EXPECT_EQ(FindCommand(1016)->m_nLabelId, 141u);
    EXPECT_EQ(FindCommand(1078)->m_nLabelId, IDS_ACC_PREVIOUS_FILE);
    EXPECT_EQ(FindCommand(1077)->m_nLabelId, IDS_ACC_PRINT);
    EXPECT_EQ(FindCommand(1080)->m_nLabelId, IDS_ACC_FRONT_REAR_VIEW);
    for (int row = 0; row < kLanguageCount; ++row)
        for (const CommandEntry& entry : CommandTable())
            EXPECT_FALSE(LoadLangStringFor(LanguageIdOfRow(row), entry.m_nLabelId).empty())
                << LANGUAGE_TABLE[row].code << " " << entry.m_nLabelId;
    for (int command : {1048, 1022, 1025, 1026, CMD_FULL_VIDEO})
        EXPECT_TRUE(FindCommand(command)->m_bSwitch) << command;
    for (int command : {1016, 1005, 1014, 1015, 1046})
        EXPECT_FALSE(FindCommand(command)->m_bSwitch) << command;
}

TEST(CommandTable, TheContextMenuListsEveryCommandInTheCurrentLanguageWithItsChecks) {
    SettingsScratch scratch("command_menu");
    scratch.StartIn("FRA");
    QWidget window;
    std::vector<int> triggered;
    std::unique_ptr<QMenu> menu(BuildCommandMenu(
        &window, [](int command) { return command == 1025 || command == 1048; },
        [&](int command) { triggered.push_back(command); }));
    std::vector<int> listed;
    for (QAction* action : menu->actions()) {
        if (action->isSeparator()) continue;
        const int command = action->data().toInt();
        listed.push_back(command);
        const CommandEntry* entry = FindCommand(command);
        ASSERT_NE(entry, nullptr);
        EXPECT_TRUE(
            action->text().startsWith(QString::fromStdString(LoadLangStringFor(1036, entry->m_nLabelId))));
        EXPECT_EQ(action->isCheckable(), entry->m_bSwitch) << command;
        EXPECT_EQ(action->isChecked(), command == 1025 || command == 1048) << command;
    }
    ASSERT_EQ(listed.size(), CommandTable().size());
    const QList<QAction*> actions = menu->actions();
    const QAction* kml =
        *std::find_if(actions.begin(), actions.end(), [](QAction* a) { return a->data().toInt() == 1024; });
    EXPECT_TRUE(kml->text().endsWith(QStringLiteral("\tCtrl+E")));
    for (QAction* action : actions)
        if (!action->isSeparator()) action->trigger();
    EXPECT_EQ(triggered, listed);
}

TEST(CommandTable, EachShortcutReachesItsCommand) {
    QWidget window;
    std::vector<int> triggered;
    InstallCommandShortcuts(&window, [&](int command) { triggered.push_back(command); });
    window.resize(200, 100);
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (const auto& [key, command] : kPlayerKeys) {
        triggered.clear();
        const QKeyCombination combination = key[0];
        QTest::keyClick(&window, combination.key(), combination.keyboardModifiers());
        EXPECT_EQ(triggered, std::vector<int>{command}) << key.toString().toStdString();
    }
    triggered.clear();
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(triggered.empty());
}

TEST(CommandTable, KeyStepsStayInsideTheRecordingAndTheVolumeRange) {
    EXPECT_EQ(KeySeekTargetMs(12000, 60000, -1), 7000);
    EXPECT_EQ(KeySeekTargetMs(3000, 60000, -1), 0);
    EXPECT_EQ(KeySeekTargetMs(57000, 60000, +1), 60000);
    EXPECT_EQ(KeySeekTargetMs(1000, 0, +1), 0) << "nothing open: nowhere to go";
    EXPECT_EQ(KeyVolumePosition(50, +1), 55);
    EXPECT_EQ(KeyVolumePosition(98, +1), 100);
    EXPECT_EQ(KeyVolumePosition(3, -1), 0);
}

TEST(CommandTable, TheShortcutListNamesEveryKeyAndEscape) {
    SettingsScratch scratch("command_list");
    scratch.StartIn("ENG");
    const std::vector<ShortcutRow> rows = ShortcutRows();
    std::map<QString, QString> byKey;
    for (const ShortcutRow& row : rows)
        byKey[row.m_strKey] = row.m_strCommand;
    EXPECT_EQ(byKey[QStringLiteral("Ctrl+O")], QStringLiteral("Open files"));
    EXPECT_EQ(byKey[QStringLiteral("Space")], QStringLiteral("Play/Pause video"));
    EXPECT_EQ(byKey[QStringLiteral("PgUp")], QStringLiteral("Previous file"));
    EXPECT_EQ(byKey[QStringLiteral("Esc")], QStringLiteral("Leave full-screen video"));
    EXPECT_EQ(byKey[QStringLiteral("Del")], QStringLiteral("Del files"));
    EXPECT_EQ(byKey[QStringLiteral("N")], QStringLiteral("Next event"));
    EXPECT_EQ(byKey[QStringLiteral("Shift+N")], QStringLiteral("Previous event"));
    EXPECT_EQ(rows.size(), 22u) << "21 commands with keys and Escape";
}

TEST(CommandTable, APopupMenuRunsTheChosenCommandAfterItClosed) {
    QWidget window;
    window.resize(300, 200);
    window.show();
    bool menuOpenDuringCommand = true;
    std::vector<int> triggered;
    QTimer::singleShot(50, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions())
            if (action->data().toInt() == 57670) menu->setActiveAction(action);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    PopupCommandMenu(
        &window, window.mapToGlobal(QPoint(10, 10)), [](int) { return false; },
        [&](int command) {
            triggered.push_back(command);
            menuOpenDuringCommand = QApplication::activePopupWidget() != nullptr;
        });
    EXPECT_EQ(triggered, std::vector<int>{57670});
    EXPECT_FALSE(menuOpenDuringCommand);
    EXPECT_TRUE(window.findChildren<QMenu*>().isEmpty()) << "the menu is deleted";
}
