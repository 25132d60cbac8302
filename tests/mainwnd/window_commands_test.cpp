// The command table: every command once, every player key once, labels, tool tips and accessible
// names in every language, the list for scripts; and on the window, each command reached from the
// menu, its keys and its button, and the about box's key list.
#include "shell_test_support.h"

#include "accessible_names.h"
#include "command_list.h"
#include "command_set.h"
#include "command_table.h"
#include "control_ids.h"
#include "language.h"
#include "main_window.h"
#include "settings.h"
#include "skin_button.h"
#include "string_tables.h"
#include "window_commands.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <map>
#include <set>

namespace {

const std::pair<QKeySequence, int> kPlayerKeys[] = {
    {QKeySequence(Qt::Key_Space), IDC_PLAY},
    {QKeySequence(Qt::Key_Left), CMD_SEEK_BACK},
    {QKeySequence(Qt::Key_Right), CMD_SEEK_FORWARD},
    {QKeySequence(Qt::Key_Up), CMD_VOLUME_UP},
    {QKeySequence(Qt::Key_Down), CMD_VOLUME_DOWN},
    {QKeySequence(Qt::Key_Plus), IDC_FASTER},
    {QKeySequence(Qt::Key_Minus), IDC_SLOWER},
    {QKeySequence(Qt::KeypadModifier | Qt::Key_Plus), IDC_FASTER},
    {QKeySequence(Qt::KeypadModifier | Qt::Key_Minus), IDC_SLOWER},
    {QKeySequence(Qt::Key_PageUp), IDC_PREVIOUS},
    {QKeySequence(Qt::Key_PageDown), IDC_NEXT},
    {QKeySequence(Qt::Key_F), CMD_FULL_VIDEO},
    {QKeySequence(Qt::Key_M), IDC_VOLUME_BUTTON},
    {QKeySequence(Qt::ControlModifier | Qt::Key_O), IDC_OPEN},
    {QKeySequence(Qt::ControlModifier | Qt::Key_S), IDC_SNAPSHOT},
    {QKeySequence(Qt::ControlModifier | Qt::Key_P), IDC_PRINT},
    {QKeySequence(Qt::ControlModifier | Qt::Key_E), IDC_KML},
    {QKeySequence(Qt::Key_Delete), IDC_DELETE},
    {QKeySequence(Qt::ControlModifier | Qt::Key_Q), IDC_CLOSE},
};

// Every button of the window is a command.
const int kButtons[] = {IDC_OPEN,     IDC_PRINT,     IDC_PREVIOUS,   IDC_PLAY,           IDC_NEXT,
                        IDC_VOLUME_BUTTON, IDC_SLOWER, IDC_FASTER,   IDC_SWITCH,         IDC_MEDIUM_SIZE,
                        IDC_LARGE_SIZE, IDC_MINIMIZE, IDC_MAXIMIZE,  IDC_CLOSE,          IDC_ABOUT,
                        IDC_SMALL_SIZE, IDC_STOP,     IDC_SNAPSHOT,  IDC_SAVE_AS,        IDC_DELETE,
                        IDC_CONFIG,   IDC_AUTO_NEXT, IDC_ROTATE,     IDC_KML,            IDC_MAP_SWITCH,
                        IDC_GSENSOR_SWITCH, IDC_LOCK};

int CommandOfKey(const QKeySequence& key) {
    for (const WindowCommand& command : WindowCommands())
        if (command.keys.contains(key)) return command.id;
    return 0;
}

} // namespace

TEST(WindowCommands, EveryCommandOnceEveryPlayerKeyOnceAndEscapeIsNoShortcut) {
    std::map<int, int> seen;
    for (const WindowCommand& command : WindowCommands())
        ++seen[command.id];
    for (const auto& [id, count] : seen)
        EXPECT_EQ(count, 1) << id;
    for (int id : kButtons) {
        ASSERT_NE(FindWindowCommand(id), nullptr) << id;
        EXPECT_TRUE(FindWindowCommand(id)->button.has_value()) << id;
    }
    for (int id : {CMD_SEEK_BACK, CMD_SEEK_FORWARD, CMD_VOLUME_UP, CMD_VOLUME_DOWN, CMD_FULL_VIDEO}) {
        ASSERT_NE(FindWindowCommand(id), nullptr) << id;
        EXPECT_FALSE(FindWindowCommand(id)->button.has_value()) << id;
    }
    size_t buttons = 0;
    for (const WindowCommand& command : WindowCommands())
        buttons += command.button.has_value() ? 1 : 0;
    EXPECT_EQ(buttons, std::size(kButtons)) << "every button is a command";

    std::set<QKeySequence> keys;
    size_t keyCount = 0;
    for (const WindowCommand& command : WindowCommands())
        for (const QKeySequence& key : command.keys) {
            keys.insert(key);
            ++keyCount;
        }
    EXPECT_EQ(keys.size(), keyCount) << "no key gives two commands";
    for (const auto& [key, id] : kPlayerKeys)
        EXPECT_EQ(CommandOfKey(key), id) << key.toString().toStdString();
    EXPECT_EQ(CommandOfKey(QKeySequence(Qt::Key_Escape)), 0);
    EXPECT_EQ(WindowCommands().back().id, IDC_CLOSE) << "the menu's last entry ends the program";
}

TEST(WindowCommands, LabelsToolTipsAndAccessibleNamesExistInEveryLanguage) {
    EXPECT_EQ(FindWindowCommand(IDC_KML)->textId, 228u);
    EXPECT_EQ(FindWindowCommand(IDC_PLAY)->textId, 141u);
    EXPECT_EQ(FindWindowCommand(IDC_PREVIOUS)->textId, IDS_ACC_PREVIOUS_FILE);
    EXPECT_EQ(FindWindowCommand(IDC_PRINT)->textId, IDS_ACC_PRINT);
    EXPECT_EQ(FindWindowCommand(IDC_SWITCH)->textId, IDS_ACC_FRONT_REAR_VIEW);
    EXPECT_EQ(LoadLangStringFor(1033, FindWindowCommand(IDC_KML)->textId), "Save GPS data to KML file");
    EXPECT_EQ(LoadLangStringFor(1033, FindWindowCommand(IDC_LOCK)->textId), "Unlock files");
    for (int row = 0; row < kLanguageCount; ++row)
        for (const WindowCommand& command : WindowCommands()) {
            EXPECT_FALSE(LoadLangStringFor(LanguageIdOfRow(row), command.textId).empty())
                << LANGUAGE_TABLE[row].code << " " << command.textId;
            // A button's accessible name is its command's label.
            if (command.button.has_value()) {
                EXPECT_EQ(AccessibleNameStringId(command.id), command.textId) << command.id;
            }
        }
    EXPECT_EQ(AccessibleNameStringId(IDC_VOLUME_SLIDER), 218u);
    EXPECT_EQ(AccessibleNameStringId(IDC_SEEK_SLIDER), IDS_ACC_POSITION);
    for (int id : {IDC_VOLUME_BUTTON, IDC_AUTO_NEXT, IDC_MAP_SWITCH, IDC_GSENSOR_SWITCH, CMD_FULL_VIDEO, IDC_LOCK,
                   IDC_ROTATE, IDC_MAXIMIZE})
        EXPECT_NE(FindWindowCommand(id)->checked, nullptr) << id;
    for (int id : {IDC_PLAY, IDC_SAVE_AS, IDC_DELETE, IDC_CONFIG, IDC_CLOSE})
        EXPECT_EQ(FindWindowCommand(id)->checked, nullptr) << id;
}

TEST(WindowCommands, TheListForScriptsHasEveryCommandItsXKeysAndTheQuittingOne) {
    std::ostringstream out;
    WriteCommandList(out);
    std::istringstream in(out.str());
    std::string line;
    std::vector<std::vector<std::string>> rows;
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::istringstream split(line);
        for (std::string field; std::getline(split, field, '\t');)
            fields.push_back(field);
        ASSERT_EQ(fields.size(), 5u) << line;
        rows.push_back(fields);
    }
    ASSERT_EQ(rows.size(), WindowCommands().size());
    std::map<int, std::vector<std::string>> byId;
    for (size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i][0], std::to_string(i + 1));
        byId[std::stoi(rows[i][1])] = rows[i];
        EXPECT_EQ(rows[i][2] == "quit", std::stoi(rows[i][1]) == IDC_CLOSE) << line;
    }
    EXPECT_EQ(byId[IDC_OPEN][3], "ctrl+o");
    EXPECT_EQ(byId[IDC_OPEN][4], "Open files");
    EXPECT_EQ(byId[IDC_FASTER][3], "plus KP_Add");
    EXPECT_EQ(byId[IDC_PREVIOUS][3], "Prior");
    EXPECT_EQ(byId[IDC_PLAY][3], "space");
    EXPECT_EQ(byId[IDC_STOP][3], "-");
    EXPECT_EQ(byId[IDC_CLOSE][3], "ctrl+q");
    // Every key of the table has an X name: the random-input run presses each of them.
    for (const WindowCommand& command : WindowCommands())
        for (const QKeySequence& key : command.keys)
            EXPECT_FALSE(XKeyName(key).empty()) << key.toString().toStdString();
}

namespace {

// The shown context menu's entry for `id` chosen; false when no menu showed or it lacks it.
void ChooseFromMenu(int id, bool& found) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, id, &found] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        for (QAction* action : menu->actions())
            if (!action->isSeparator() && action->data().toInt() == id) {
                found = true;
                menu->setActiveAction(action);
                QTest::keyClick(menu, Qt::Key_Return);
                return;
            }
        menu->close();
    });
    poll->start(5);
}

void EveryCommandReachesItsHandlerChild(const ShellTestFolder& folder, const std::string& screen) {
    EnterChild(folder.path(), screen);
    ChildApplication();
    COrvexMainWindow window;
    window.Create();
    window.show();
    QApplication::setActiveWindow(&window);
    CHILD_CHECK(QTest::qWaitForWindowActive(&window));
    std::vector<int> ran;
    window.Commands()->SetRunner([&ran](const WindowCommand& command) { ran.push_back(command.id); });
    for (const WindowCommand& command : WindowCommands()) {
        QAction* action = window.Commands()->Action(command.id);
        CHILD_CHECK(action && !action->text().isEmpty());
        // The menu: the command runs once the menu is gone.
        ran.clear();
        bool found = false;
        ChooseFromMenu(command.id, found);
        window.ShowCommandMenu(window.mapToGlobal(QPoint(4, 4)));
        CHILD_CHECK(found && ran == std::vector<int>{command.id});
        // Each key, with the window active: shortcuts need it, and the offscreen platform does not
        // always give the activation back once the menu has closed.
        for (const QKeySequence& key : command.keys) {
            if (QApplication::activeWindow() != &window) QApplication::setActiveWindow(&window);
            CHILD_CHECK(QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; }));
            ran.clear();
            QTest::keyClick(&window, key[0].key(), key[0].keyboardModifiers());
            if (ran != std::vector<int>{command.id}) {
                std::fprintf(stderr, "key %s gave %zu commands\n", qPrintable(key.toString()), ran.size());
                std::_Exit(3);
            }
        }
        if (!command.button.has_value()) continue;
        // The button, named by the command; a hidden one is still connected.
        auto* button = window.ControlById<CSkinButton>(command.id);
        CHILD_CHECK(button && button->accessibleName() == action->text());
        const int picture = button->m_nImageState;
        ran.clear();
        if (button->isEnabled() && button->isVisible())
            button->click();
        else
            emit button->clicked(false);
        CHILD_CHECK(ran == std::vector<int>{command.id});
        CHILD_CHECK(button->m_nImageState == picture); // only the command changes a picture
    }
    std::_Exit(0);
}

void TheAboutBoxListsTheTableKeysChild(const ShellTestFolder& folder, const std::string& screen) {
    EnterChild(folder.path(), screen);
    ChildApplication();
    GetAppSettings().SetLanguage(FindLanguage("ENG"));
    COrvexMainWindow window;
    window.Create();
    std::map<QString, QString> byKey;
    const std::vector<ShortcutRow> rows = window.Commands()->ShortcutRows();
    for (const ShortcutRow& row : rows)
        byKey[row.m_strKey] = row.m_strCommand;
    CHILD_CHECK(byKey[QStringLiteral("Ctrl+O")] == QStringLiteral("Open files"));
    CHILD_CHECK(byKey[QStringLiteral("Space")] == QStringLiteral("Play/Pause video"));
    CHILD_CHECK(byKey[QStringLiteral("PgUp")] == QStringLiteral("Previous file"));
    CHILD_CHECK(byKey[QStringLiteral("Esc")] == QStringLiteral("Leave full-screen video"));
    CHILD_CHECK(byKey[QStringLiteral("Del")] == QStringLiteral("Del files"));
    CHILD_CHECK(byKey[QStringLiteral("+, Num++")] == QString::fromStdString(LoadLangStringFor(1033, 217)));
    size_t withKeys = 0;
    for (const WindowCommand& command : WindowCommands())
        withKeys += command.keys.isEmpty() ? 0 : 1;
    CHILD_CHECK(rows.size() == withKeys + 1); // and Escape
    GetAppSettings().SetLanguage(FindLanguage("FRA"));
    const std::vector<ShortcutRow> french = window.Commands()->ShortcutRows();
    CHILD_CHECK(french[0].m_strCommand == QString::fromStdString(LoadLangStringFor(1036, 210)));
    std::_Exit(0);
}

} // namespace

TEST(WindowCommands, EveryCommandReachesItsHandlerFromTheMenuItsKeysAndItsButton) {
    ShellTestFolder folder;
    folder.Write(folder.ini(), "[UI]\r\n");
    const std::string screen = folder.OffscreenPlatform(1920, 1080);
    EXPECT_EXIT(EveryCommandReachesItsHandlerChild(folder, screen), testing::ExitedWithCode(0), "");
}

TEST(WindowCommands, TheAboutBoxListsEveryKeyOfTheTableInTheCurrentLanguage) {
    ShellTestFolder folder;
    folder.Write(folder.ini(), "[UI]\r\n");
    const std::string screen = folder.OffscreenPlatform(1920, 1080);
    EXPECT_EXIT(TheAboutBoxListsTheTableKeysChild(folder, screen), testing::ExitedWithCode(0), "");
}
