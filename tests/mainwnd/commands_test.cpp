// The main window's own commands, each in a child process on an offscreen 1920 x 1080 screen:
// configuration with its restart, the switches, the file commands over a real catalog of files,
// the tool tips after language changes, the keyboard shortcuts and the context menu.
#include "shell_test_support.h"

#include "../catalog/catalog_test_support.h"
#include "../dialogs/dialog_test_support.h"

#include "about_dlg.h"
#include "web_engine_setup.h"
#include "command_set.h"
#include "command_table.h"
#include "control_ids.h"
#include "file_operation_texts.h"
#include "fixture_writer.h"
#include "skin_button.h"
#include "map_cache.h"
#include "map_window.h"
#include "language.h"
#include "main_window.h"
#include "orvex_list_ctrl.h"
#include "playback_session.h"
#include "private_message.h"
#include "settings.h"
#include "string_tables.h"
#include "config_dialog.h"
#include "tool_tips.h"
#include "video_engine.h"
#include "video_slider.h"
#include "window_commands.h"
#include "window_modes.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWebEngineProfile>

#include <optional>
#include <set>

namespace fs = std::filesystem;
using catalog_test::FakeReaders;
using dialogs_test::WhenModalShows;

namespace {

// The window's boxes, save-as folder picker and program start, answered by the test, with what
// they were asked.
struct Answers {
    explicit Answers(COrvexMainWindow& window) {
        WindowDialogs dialogs;
        dialogs.ask = [this](const UserMessage& message) {
            m_asked.push_back(message);
            return m_answer(message);
        };
        dialogs.pickSaveAsFolder = [this] {
            ++m_nPicks;
            return m_saveFolder;
        };
        // The restarted program is not started; what it would have been is left in "started".
        dialogs.startRestarted = [this](const QString& program, const QString& folder, QString* reason) {
            ++m_nStarts;
            if (!m_bStartSucceeds) {
                *reason = QStringLiteral("refused by the test");
                return false;
            }
            std::ofstream("started") << program.toStdString() << '\n' << folder.toStdString() << '\n';
            return true;
        };
        window.SetDialogs(std::move(dialogs));
    }

    std::vector<UserMessage> m_asked;
    std::function<bool(const UserMessage&)> m_answer = [](const UserMessage&) { return true; };
    std::optional<fs::path> m_saveFolder;
    int m_nPicks = 0;
    bool m_bStartSucceeds = true;
    int m_nStarts = 0;
};

// From here on keys, menu and buttons only record their commands in `commands`; they do not run.
void RecordCommands(COrvexMainWindow& window, std::vector<int>& commands) {
    window.Commands()->SetRunner([&commands](const WindowCommand& command) { commands.push_back(command.id); });
}

class CommandsTest : public testing::Test {
  protected:
    void SetUp() override { folder.Write(folder.ini(), "[UI]\r\n"); }

    ShellTestFolder folder;
    std::string screen = folder.OffscreenPlatform(1920, 1080);
};

static void StartChild(const ShellTestFolder& folder, const std::string& screen) {
    EnterChild(folder.path(), screen);
    // A cache folder below the settings file cannot be made: the map keeps nothing on disk, and
    // nothing of the tests lands in the user's own cache.
    qputenv("XDG_CACHE_HOME", QByteArray::fromStdString(std::filesystem::absolute(folder.ini() / "cache").string()));
    ChildApplication();
}

// Shown and made the active window, so that its shortcuts take the keys.
bool ShowActive(QWidget& window) {
    window.show();
    QApplication::setActiveWindow(&window);
    return QTest::qWaitForWindowActive(&window);
}

std::string Ini() {
    return ShellTestFolder::Read("Veltrix.ini");
}

QString Text(unsigned id) {
    return QString::fromStdString(LoadLangString(id));
}

// The controls with a tool tip: every command button by its command's label, and the volume
// slider and speed label.
std::vector<ToolTableRow> ToolTipRows() {
    std::vector<ToolTableRow> rows;
    for (const WindowCommand& command : WindowCommands())
        if (command.button.has_value()) rows.push_back({command.id, command.textId});
    rows.push_back({IDC_VOLUME_SLIDER, 218});
    rows.push_back({IDC_SPEED_LABEL, 247});
    return rows;
}

// Each of them registered once, labelled in the current language.
bool ToolTipsRegisteredOnce(const COrvexMainWindow& dlg) {
    const std::vector<ToolTableRow> rows = ToolTipRows();
    const CToolTips* tips = dlg.ToolTips();
    if (!tips || tips->m_toolWindows.size() != static_cast<qsizetype>(rows.size())) return false;
    std::set<const QWidget*> seen;
    for (const auto& window : tips->m_toolWindows)
        seen.insert(window.data());
    if (seen.size() != rows.size() || tips->m_tools.size() != static_cast<qsizetype>(rows.size()))
        return false;
    for (const ToolTableRow& row : rows)
        if (dlg.ControlById(row.m_nCtrlId)->toolTip() != Text(row.m_nTextId)) return false;
    return true;
}

void ClickButton(QWidget& dialog, int id) {
    dialog.findChild<QPushButton*>(QString::number(id))->click();
}

// A card of two groups (front + rear at 08:00, front + rear at 09:00) read by stand-in readers,
// in the window's catalog and its lists.
struct Card {
    explicit Card(COrvexMainWindow& dlg, const char* name) : card(name) {
        const int64_t t8 = catalog_test::At(2024, 5, 17, 8, 0, 0);
        const int64_t t9 = catalog_test::At(2024, 5, 17, 9, 0, 0);
        Add("Movie/2024_05_17_080000_01.MP4", "front 8", t8);
        Add("Movi_be/2024_05_17_080000_01_b.MP4", "rear 8", t8);
        Add("Movie/2024_05_17_090000_02.MP4", "front 9", t9);
        Add("Movi_be/2024_05_17_090000_02_b.MP4", "rear 9", t9);
        dlg.Catalog().SetParserFactory(readers.Factory());
        CHILD_CHECK(dlg.Catalog().ScanSource(card.Root(), ""));
        groups = dynamic_cast<COrvexListCtrl*>(dlg.ControlById(IDC_GROUP_LIST));
        files = dynamic_cast<COrvexListCtrl*>(dlg.ControlById(IDC_FILE_LIST));
        CHILD_CHECK(groups->LineCount() == 2 && files->LineCount() == 4);
    }
    void Add(const std::string& relative, const std::string& content, int64_t start) {
        paths.push_back(card.Write(relative, content));
        readers.Add(fs::path(relative).filename().string(), start, 60000, content.size());
    }
    catalog_test::TempCard card;
    FakeReaders readers;
    COrvexListCtrl* groups = nullptr;
    COrvexListCtrl* files = nullptr;
    std::vector<fs::path> paths;
};

// The shown context menu's commands with their labels and check marks, then `choose` (0: none).
struct MenuSeen {
    std::vector<int> commands;
    std::vector<QString> labels;
    std::set<int> checked;
    bool shown = false;
};

void WhenMenuShows(MenuSeen& seen, int choose) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &seen, choose] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu || !menu->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        seen.shown = true;
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->isSeparator()) continue;
            const int command = action->data().toInt();
            seen.commands.push_back(command);
            seen.labels.push_back(action->text().section(u'\t', 0, 0));
            if (action->isChecked()) seen.checked.insert(command);
            if (command == choose) chosen = action;
        }
        if (chosen) {
            menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
    });
    poll->start(5);
}

std::vector<int> TableCommands() {
    std::vector<int> commands;
    for (const WindowCommand& command : WindowCommands())
        commands.push_back(command.id);
    return commands;
}

} // namespace

TEST_F(CommandsTest, LanguageApplyThenCancelRetitlesWithoutRestartAndOkUntouchedDoesNotRestart) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            WhenModalShows<CConfigDialog>([](CConfigDialog& config) {
                config.m_cbLang->setCurrentIndex(FindLanguage("FRA"));
                ClickButton(config, 1044);
                config.reject();
            });
            dlg.OnCommand(IDC_CONFIG);
            QCoreApplication::sendPostedEvents(&dlg);
            CHILD_CHECK(answers.m_nStarts == 0);
            CHILD_CHECK(GetAppSettings().ReadString("UI", "LANGID", "") == "FRA");
            CHILD_CHECK(dlg.ControlById(IDC_KML)->toolTip() ==
                        QString::fromStdString(LoadLangStringFor(LanguageIdOfRow(FindLanguage("FRA")), 228)));
            CHILD_CHECK(ToolTipsRegisteredOnce(dlg));

            // A new showing forgets the row the earlier one recorded: OK untouched keeps running.
            WhenModalShows<CConfigDialog>([](CConfigDialog& config) { config.accept(); });
            dlg.OnCommand(IDC_CONFIG);
            CHILD_CHECK(answers.m_nStarts == 0);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(CommandsTest, LanguageChangeThenOkRestartsAfterThePositionIsOnDisk) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            dlg.setGeometry(40, 30, 1300, 620);
            WhenModalShows<CConfigDialog>([](CConfigDialog& config) {
                config.m_cbLang->setCurrentIndex(FindLanguage("FRA"));
                ClickButton(config, 1044);
                config.m_cbLang->setCurrentIndex(FindLanguage("ENG"));
                ClickButton(config, 1044);
                config.accept();
            });
            dlg.OnCommand(IDC_CONFIG); // ends the process when the new one started
            std::_Exit(4);
        },
        testing::ExitedWithCode(0), "");
    const std::string ini = ShellTestFolder::Read(folder.ini());
    EXPECT_NE(ini.find("LANGID=ENG"), std::string::npos) << ini;
    for (const char* key : {"LEFT=40", "TOP=30", "RIGHT=1340", "BOTTOM=650"})
        EXPECT_NE(ini.find(key), std::string::npos) << key << "\n" << ini;
    // The new process: this program, in this working folder.
    const std::string started = ShellTestFolder::Read(folder.path() / "started");
    EXPECT_NE(started.find("test_mainwnd\n"), std::string::npos) << started;
    EXPECT_NE(started.find(fs::canonical(folder.path()).string() + "\n"), std::string::npos) << started;
}

TEST_F(CommandsTest, AFailedRestartKeepsTheWindowAndSaysWhy) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            answers.m_bStartSucceeds = false;
            WhenModalShows<CConfigDialog>([](CConfigDialog& config) {
                config.m_cbLang->setCurrentIndex(FindLanguage("GER"));
                config.accept();
            });
            QString told;
            WhenModalShows<QMessageBox>([&told](QMessageBox& box) {
                told = box.text();
                box.accept();
            });
            dlg.OnCommand(IDC_CONFIG);
            CHILD_CHECK(answers.m_nStarts == 1);
            CHILD_CHECK(told.contains(QStringLiteral("refused by the test")));
            CHILD_CHECK(!fs::exists("started"));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(CommandsTest, MapApplyWithOpenStreetMapSwitchesThePageEvenAfterCancel) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            CHILD_CHECK(dlg.MapKind() == 0);
            WhenModalShows<CConfigDialog>([](CConfigDialog& config) {
                config.m_cbMap->setCurrentIndex(2);
                ClickButton(config, 1039);
                config.reject();
            });
            dlg.OnCommand(IDC_CONFIG);
            QCoreApplication::sendPostedEvents(&dlg);
            CHILD_CHECK(dlg.MapKind() == 2);
            CHILD_CHECK(GetAppSettings().m_nMapKind == 2);
            CHILD_CHECK(GetAppSettings().ReadInt("UI", "MAP", 0) == 2);
            CHILD_CHECK(answers.m_nStarts == 0);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(CommandsTest, ToolTipsAfterTwoLanguageChangesRegisterEachControlOnce) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            CHILD_CHECK(ToolTipsRegisteredOnce(dlg));
            for (const char* code : {"GER", "FRA"}) {
                GetAppSettings().SetLanguage(FindLanguage(code));
                SendPrivateMessage(&dlg, MSG_LANGUAGE_CHANGED, static_cast<uintptr_t>(FindLanguage(code)));
            }
            CHILD_CHECK(ToolTipsRegisteredOnce(dlg));
            CHILD_CHECK(dlg.ControlById(IDC_KML)->toolTip() == Text(228));
            CHILD_CHECK(dlg.ControlById(IDC_SPEED_LABEL)->toolTip() == Text(247));
            // The tip itself: the label beside picture 191.
            const QString tip = dlg.ToolTips()->PrepareTip(dlg.ControlById(IDC_KML));
            CHILD_CHECK(tip.contains(Text(228).toHtmlEscaped()) && tip.contains(QStringLiteral("191")));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(CommandsTest, MapSwitchIsIgnoredInFullScreenVideoAndWritesItsSettingOtherwise) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            Card card(dlg, "cmd_map_switch"); // full-screen video needs a recording in the catalog
            dlg.show();
            dlg.Modes()->SetPaneHidden(IDC_FRONT_PANE, false);
            SendPrivateMessage(&dlg, MSG_TOGGLE_FULL_VIDEO, 0);
            CHILD_CHECK(dlg.Modes()->FullVideo());
            const std::string before = Ini();
            dlg.OnCommand(IDC_MAP_SWITCH);
            CHILD_CHECK(dlg.Modes()->MapShown());
            CHILD_CHECK(Ini() == before); // not even a settings write

            SendPrivateMessage(&dlg, MSG_TOGGLE_FULL_VIDEO, 0);
            CHILD_CHECK(!dlg.Modes()->FullVideo());
            const int mapTop = dlg.ControlById(IDC_FILE_LIST)->y();
            dlg.OnCommand(IDC_MAP_SWITCH);
            CHILD_CHECK(!dlg.Modes()->MapShown());
            CHILD_CHECK(dlg.MapDlg()->isHidden() && !dlg.MapDlg()->isEnabled());
            CHILD_CHECK(GetAppSettings().ReadInt("UI", "MAP_ENABLE", 1) == 0);
            CHILD_CHECK(dlg.ControlById(IDC_FILE_LIST)->y() != mapTop); // laid out again
            dlg.OnCommand(IDC_MAP_SWITCH);
            CHILD_CHECK(dlg.Modes()->MapShown() && dlg.MapDlg()->isVisible());
            CHILD_CHECK(GetAppSettings().ReadInt("UI", "MAP_ENABLE", 0) == 1);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(CommandsTest, GsensorSwitchWorksInEveryMode) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            Card card(dlg, "cmd_gsensor_switch"); // full-screen video needs a recording in the catalog
            dlg.show();
            QWidget* curve = dlg.ControlById(IDC_GSENSOR);
            dlg.OnCommand(IDC_GSENSOR_SWITCH);
            CHILD_CHECK(!dlg.Modes()->CurveShown() && curve->isHidden());
            CHILD_CHECK(GetAppSettings().ReadInt("UI", "GSNR_ENABLE", 1) == 0);

            // Full-screen video: the switch and its setting change; the curve waits for the return.
            dlg.Modes()->SetPaneHidden(IDC_FRONT_PANE, false);
            SendPrivateMessage(&dlg, MSG_TOGGLE_FULL_VIDEO, 0);
            dlg.OnCommand(IDC_GSENSOR_SWITCH);
            CHILD_CHECK(dlg.Modes()->CurveShown() && curve->isHidden());
            CHILD_CHECK(GetAppSettings().ReadInt("UI", "GSNR_ENABLE", 0) == 1);
            SendPrivateMessage(&dlg, MSG_TOGGLE_FULL_VIDEO, 0);
            CHILD_CHECK(!curve->isHidden());

            // Maximised.
            dlg.OnCommand(IDC_MAXIMIZE);
            CHILD_CHECK(dlg.Modes()->Maximized());
            dlg.OnCommand(IDC_GSENSOR_SWITCH);
            CHILD_CHECK(!dlg.Modes()->CurveShown() && curve->isHidden());
            CHILD_CHECK(GetAppSettings().ReadInt("UI", "GSNR_ENABLE", 1) == 0);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(CommandsTest, EveryFileCommandOnAnEmptyListSaysNoFilesInList) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            for (int id : {IDC_SAVE_AS, IDC_DELETE, IDC_LOCK})
                dlg.OnCommand(id);
            CHILD_CHECK(answers.m_asked.size() == 3);
            for (const UserMessage& message : answers.m_asked) {
                CHILD_CHECK(message.m_strText == "No files in list.");
                CHILD_CHECK(message.m_strCaption == "OK");
            }
            CHILD_CHECK(answers.m_nPicks == 0);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(CommandsTest, CancellingSaveAsOrDeleteResumesARearFilePlayingAlone) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            Card card(dlg, "cmd_cancel");
            using Side = PlaybackSession::Side;
            using State = PlaybackSession::EngineState;
            PlaybackSession& session = *dlg.Session();
            CHILD_CHECK(session.Usable(Side::kRear));
            // A rear file without its front file plays alone: the front engine is idle.
            const fs::path rearAlone = fixtures::ScratchDir("cmd_cancel_rear") / "2024_05_17_100000_03_b.MP4";
            fs::copy_file(fixtures::SampleClip(), rearAlone, fs::copy_options::overwrite_existing);
            session.Open(rearAlone);
            card.groups->SetLineTicked(1, true);
            for (int id : {IDC_SAVE_AS, IDC_DELETE}) {
                CHILD_CHECK(session.State(Side::kRear) == State::kPlaying);
                answers.m_answer = [](const UserMessage&) { return false; };
                dlg.OnCommand(id);
                CHILD_CHECK(session.State(Side::kRear) == State::kPlaying);
                CHILD_CHECK(session.State(Side::kFront) == State::kStopped);
            }
            CHILD_CHECK(answers.m_nPicks == 1);
            for (const fs::path& path : card.paths)
                CHILD_CHECK(fs::exists(path));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

// The delete question names what goes; a group holding a read-only file keeps all of its files
// and the report says "locked" once for it.
TEST_F(CommandsTest, DeleteNamesWhatGoesAndKeepsALockedEventWhole) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            Card card(dlg, "cmd_delete");
            catalog_test::SetMode(card.paths[1], 0444); // the rear of the 08:00 event
            card.groups->SetLineTicked(0, true);
            card.groups->SetLineTicked(1, true);
            dlg.Session()->Open(fixtures::SampleClip());
            CHILD_CHECK(dlg.Session()->AnyPlaying());
            dlg.OnCommand(IDC_DELETE);
            CHILD_CHECK(answers.m_asked.size() == 2);
            const UserMessage& question = answers.m_asked[0];
            CHILD_CHECK(question.m_strText ==
                        "Are you sure to delete the checked files?\n4 files in 2 groups will be deleted.");
            CHILD_CHECK(question.m_strCaption == "Delete Files");
            CHILD_CHECK(question.m_eButtons == MessageButtons::kYesNo);
            CHILD_CHECK(question.m_strDetails ==
                        "2024_05_17_080000_01.MP4\n2024_05_17_080000_01_b.MP4\n"
                        "2024_05_17_090000_02.MP4\n2024_05_17_090000_02_b.MP4");
            CHILD_CHECK(fs::exists(card.paths[0]) && fs::exists(card.paths[1]));
            CHILD_CHECK(!fs::exists(card.paths[2]) && !fs::exists(card.paths[3]));
            const std::string& report = answers.m_asked[1].m_strText;
            CHILD_CHECK(report == "Some files could not be processed (2 of 4):\n2024_05_17_080000_01_b.MP4: locked");
            CHILD_CHECK(dlg.Catalog().Entries().size() == 2);
            CHILD_CHECK(!dlg.Session()->AnyPlaying()); // stopped for the deletion
            CHILD_CHECK(dlg.Modes()->PaneHidden(IDC_FRONT_PANE) && dlg.Modes()->PaneHidden(IDC_REAR_PANE));
            CHILD_CHECK(dlg.ControlById(IDC_FRONT_PANE)->isHidden() && dlg.ControlById(IDC_REAR_PANE)->isHidden());
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

static void SaveAsIntoTheSourceFolderKeepsEveryRecordingChild(const ShellTestFolder& folder,
                                                              const std::string& screen) {
    StartChild(folder, screen);
    COrvexMainWindow dlg;
    Answers answers(dlg);
    dlg.Create();
    Card card(dlg, "cmd_copy_self");
    card.groups->SetLineTicked(0, true);
    card.groups->SetLineTicked(1, true);
    catalog_test::SetMode(card.paths[1], 0444); // a locked recording is left alone just the same
    answers.m_saveFolder = card.card.Root();
    dlg.OnCommand(IDC_SAVE_AS);
    CHILD_CHECK(answers.m_nPicks == 1);
    CHILD_CHECK(answers.m_asked.empty()); // no overwrite question, no failure report
    const char* contents[] = {"front 8", "rear 8", "front 9", "rear 9"};
    for (size_t i = 0; i < card.paths.size(); ++i)
        CHILD_CHECK(catalog_test::ReadAll(card.paths[i]) == contents[i]);

    // Elsewhere the folders are made and the files copied; nothing ticked says so.
    const fs::path backup = card.card.Root() / "backup";
    fs::create_directories(backup);
    answers.m_saveFolder = backup;
    dlg.OnCommand(IDC_SAVE_AS);
    CHILD_CHECK(catalog_test::ReadAll(backup / "Movi_be/2024_05_17_090000_02_b.MP4") == "rear 9");
    card.groups->SetLineTicked(0, false);
    card.groups->SetLineTicked(1, false);
    dlg.OnCommand(IDC_SAVE_AS);
    CHILD_CHECK(!answers.m_asked.empty() && answers.m_asked.back().m_strText ==
                                            "No seletected files. Please select some files and try "
                                            "this operation again.");
    std::_Exit(0);
}

TEST_F(CommandsTest, SaveAsIntoTheSourceFolderKeepsEveryRecording) {
    EXPECT_EXIT(SaveAsIntoTheSourceFolderKeepsEveryRecordingChild(folder, screen), testing::ExitedWithCode(0),
                "");
}

static void EachShortcutReachesItsCommandAndEscapeNoneChild(const ShellTestFolder& folder,
                                                            const std::string& screen) {
    StartChild(folder, screen);
    COrvexMainWindow dlg;
    Answers answers(dlg);
    dlg.Create();
    CHILD_CHECK(ShowActive(dlg));
    std::vector<int> commands;
    RecordCommands(dlg, commands);
    const std::vector<std::pair<QKeyCombination, int>> keys = {
        {Qt::Key_Space, IDC_PLAY},
        {Qt::Key_Left, CMD_SEEK_BACK},
        {Qt::Key_Right, CMD_SEEK_FORWARD},
        {Qt::Key_Up, CMD_VOLUME_UP},
        {Qt::Key_Down, CMD_VOLUME_DOWN},
        {Qt::Key_Plus, IDC_FASTER},
        {Qt::Key_Minus, IDC_SLOWER},
        {Qt::Key_PageUp, IDC_PREVIOUS},
        {Qt::Key_PageDown, IDC_NEXT},
        {Qt::Key_F, CMD_FULL_VIDEO},
        {Qt::Key_M, IDC_VOLUME_BUTTON},
        {Qt::ControlModifier | Qt::Key_O, IDC_OPEN},
        {Qt::ControlModifier | Qt::Key_S, IDC_SNAPSHOT},
        {Qt::ControlModifier | Qt::Key_P, IDC_PRINT},
        {Qt::ControlModifier | Qt::Key_E, IDC_KML},
        {Qt::Key_Delete, IDC_DELETE},
        {Qt::ControlModifier | Qt::Key_Q, IDC_CLOSE},
    };
    // From the window and from inside a list alike, except the keys that move through the list.
    Card card(dlg, "cmd_keys");
    auto* list = dynamic_cast<QAbstractItemView*>(dlg.ControlById(IDC_FILE_LIST)); // the group list is hidden
    const std::set<int> movingKeys = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
    for (QWidget* target : {static_cast<QWidget*>(&dlg), static_cast<QWidget*>(list)}) {
        target->setFocus();
        for (const auto& [key, command] : keys) {
            const bool listKey = target == list && movingKeys.count(key.key()) != 0;
            commands.clear();
            QTest::keyClick(target, key.key(), key.keyboardModifiers());
            if (commands != (listKey ? std::vector<int>{} : std::vector<int>{command})) {
                std::fprintf(stderr, "key %s on %s gave %zu commands\n",
                             qPrintable(QKeySequence(key).toString()), target == list ? "list" : "window",
                             commands.size());
                std::_Exit(3);
            }
        }
    }
    list->setCurrentIndex(list->model()->index(0, 1));
    QTest::keyClick(list, Qt::Key_Down);
    CHILD_CHECK(list->currentIndex().row() == 1);
    commands.clear();
    QTest::keyClick(&dlg, Qt::Key_Escape);
    CHILD_CHECK(commands.empty() && dlg.isVisible());
    std::_Exit(0);
}

TEST_F(CommandsTest, EachShortcutReachesItsCommandAndEscapeNone) {
    EXPECT_EXIT(EachShortcutReachesItsCommandAndEscapeNoneChild(folder, screen), testing::ExitedWithCode(0),
                "");
}

static void ShortcutsRunTheirCommandsAndEscapeLeavesFullScreenVideoOnlyChild(const ShellTestFolder& folder,
                                                                             const std::string& screen) {
    StartChild(folder, screen);
    COrvexMainWindow dlg;
    Answers answers(dlg);
    dlg.Create();
    CHILD_CHECK(ShowActive(dlg));
    QTest::keyClick(&dlg, Qt::Key_Delete); // with its question; here the list is empty
    CHILD_CHECK(answers.m_asked.size() == 1 && answers.m_asked[0].m_strText == "No files in list.");
    // Full-screen video needs a recording in the catalog.
    Card card(dlg, "cmd_shortcuts");

    auto* volume = dlg.ControlById<QAbstractSlider>(IDC_VOLUME_SLIDER);
    const int start = volume->value();
    QTest::keyClick(&dlg, Qt::Key_Up);
    CHILD_CHECK(volume->value() == start + kKeyVolumeStep);
    QTest::keyClick(&dlg, Qt::Key_Down);
    QTest::keyClick(&dlg, Qt::Key_Down);
    CHILD_CHECK(volume->value() == start - kKeyVolumeStep);

    auto* mute = dynamic_cast<CSkinButton*>(dlg.ControlById(IDC_VOLUME_BUTTON));
    CHILD_CHECK(mute->m_nImageState == 1); // starts muted
    QTest::keyClick(&dlg, Qt::Key_M);
    CHILD_CHECK(mute->m_nImageState == 0);

    dlg.Modes()->SetPaneHidden(IDC_FRONT_PANE, false);
    QTest::keyClick(&dlg, Qt::Key_F);
    CHILD_CHECK(dlg.Modes()->FullVideo());
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &dlg, Qt::Key_Escape);
    CHILD_CHECK(!dlg.Modes()->FullVideo());
    QTest::keyClick(&dlg, Qt::Key_Escape);
    CHILD_CHECK(!dlg.Modes()->FullVideo() && dlg.isVisible());

    dlg.move(20, 10);
    QTest::keyClick(&dlg, Qt::Key_Q, Qt::ControlModifier); // ends the process
    std::_Exit(4);
}

TEST_F(CommandsTest, ShortcutsRunTheirCommandsAndEscapeLeavesFullScreenVideoOnly) {
    EXPECT_EXIT(ShortcutsRunTheirCommandsAndEscapeLeavesFullScreenVideoOnlyChild(folder, screen),
                testing::ExitedWithCode(0), "");
    EXPECT_NE(ShellTestFolder::Read(folder.ini()).find("LEFT=20"), std::string::npos);
}

static void
ContextMenuListsEveryCommandWithItsChecksOnBackgroundPanesAndListsChild(const ShellTestFolder& folder,
                                                                        const std::string& screen) {
    StartChild(folder, screen);
    COrvexMainWindow dlg;
    Answers answers(dlg);
    dlg.Create();
    dlg.show();
    CHILD_CHECK(QTest::qWaitForWindowExposed(&dlg));
    auto* list = dynamic_cast<QAbstractScrollArea*>(dlg.ControlById(IDC_GROUP_LIST));
    QWidget* targets[] = {&dlg,
                          dlg.ControlById(IDC_FRONT_FRAME),
                          dlg.ControlById(IDC_FRONT_PANE),
                          dlg.ControlById(IDC_REAR_PANE),
                          list->viewport(),
                          dynamic_cast<QAbstractScrollArea*>(dlg.ControlById(IDC_FILE_LIST))->viewport()};
    for (QWidget* target : targets) {
        MenuSeen seen;
        WhenMenuShows(seen, 0);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), target->mapToGlobal(QPoint(4, 4)));
        QCoreApplication::sendEvent(target, &event);
        CHILD_CHECK(seen.shown);
        CHILD_CHECK(seen.commands == TableCommands());
        // The lock entry says what it would do: nothing ticked, so it locks.
        for (size_t i = 0; i < seen.commands.size(); ++i)
            CHILD_CHECK(seen.labels[i] == (seen.commands[i] == IDC_LOCK ? Text(IDS_LOCK_FILES)
                                                                         : Text(FindWindowCommand(seen.commands[i])->textId)));
        // At start: map, curve and auto-next on; muted; nothing locked, rotated or full-screen.
        CHILD_CHECK((seen.checked == std::set<int>{IDC_MAP_SWITCH, IDC_GSENSOR_SWITCH, IDC_AUTO_NEXT}));
    }

    // Chosen from the menu: the command runs (the map switch) and the marks follow.
    MenuSeen chose;
    WhenMenuShows(chose, IDC_MAP_SWITCH);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(4, 4), dlg.mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(&dlg, &event);
    CHILD_CHECK(!dlg.Modes()->MapShown() && GetAppSettings().ReadInt("UI", "MAP_ENABLE", 1) == 0);
    MenuSeen after;
    WhenMenuShows(after, IDC_AUTO_NEXT);
    QCoreApplication::sendEvent(&dlg, &event);
    CHILD_CHECK((after.checked == std::set<int>{IDC_GSENSOR_SWITCH, IDC_AUTO_NEXT}));
    CHILD_CHECK(!dlg.AutoNextOn());

    // The labels follow the language.
    GetAppSettings().SetLanguage(FindLanguage("FRA"));
    MenuSeen french;
    WhenMenuShows(french, 0);
    QCoreApplication::sendEvent(&dlg, &event);
    CHILD_CHECK(french.labels[0] == Text(210));

    // The about box from the menu, titled in the current language.
    QString title;
    WhenModalShows<CAboutDlg>([&title](CAboutDlg& about) {
        title = about.windowTitle();
        about.accept();
    });
    MenuSeen about;
    WhenMenuShows(about, IDC_ABOUT);
    QCoreApplication::sendEvent(&dlg, &event);
    CHILD_CHECK(title == Text(101));
    std::_Exit(0);
}

TEST_F(CommandsTest, ContextMenuListsEveryCommandWithItsChecksOnBackgroundPanesAndLists) {
    EXPECT_EXIT(ContextMenuListsEveryCommandWithItsChecksOnBackgroundPanesAndListsChild(folder, screen),
                testing::ExitedWithCode(0), "");
}

// The map pages run in the map's own profile, which never keeps cookies; where its cache folder
// cannot be made (as in the tests) it keeps nothing on disk at all, so a restarted viewer and the
// one it replaces share nothing there.
TEST_F(CommandsTest, TheMapsBrowserProfileKeepsNoCookiesAndWithoutACacheFolderNothing) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            const CWebEngineSetup* app = CWebEngineSetup::Instance();
            std::unique_ptr<QWebEngineProfile> made;
            if (!app || !app->Profile()) made.reset(CreateMapProfile(MapCacheFolder(), MapCacheMegabytes(), nullptr));
            const QWebEngineProfile* profile = made ? made.get() : app->Profile();
            CHILD_CHECK(profile != QWebEngineProfile::defaultProfile());
            CHILD_CHECK(profile->persistentCookiesPolicy() == QWebEngineProfile::NoPersistentCookies);
            CHILD_CHECK(profile->isOffTheRecord());
            CHILD_CHECK(profile->httpCacheType() != QWebEngineProfile::DiskHttpCache);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

// Lock or unlock follows the ticked groups, not the playing one; the menu entry's label and check
// mark say which it will be, and the outcome is said in words.
TEST_F(CommandsTest, LockDecidesFromTheTickedGroupsAndSaysWhatItDid) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            Card card(dlg, "cmd_lock");
            catalog_test::SetMode(card.paths[2], 0444); // the playing 09:00 group is locked
            dlg.Catalog().SetCurrentEntry(2);
            card.groups->SetLineTicked(0, true);
            auto* lock = dynamic_cast<CSkinButton*>(dlg.ControlById(IDC_LOCK));
            const auto menuOfLock = [&dlg](QString& label, bool& checked) {
                MenuSeen seen;
                WhenMenuShows(seen, 0);
                dlg.ShowCommandMenu(dlg.mapToGlobal(QPoint(4, 4)));
                for (size_t i = 0; i < seen.commands.size(); ++i)
                    if (seen.commands[i] == IDC_LOCK) label = seen.labels[i];
                checked = seen.checked.count(IDC_LOCK) != 0;
            };
            QString label;
            bool checked = true;
            menuOfLock(label, checked);
            CHILD_CHECK(label == "Lock files" && !checked);
            dlg.OnCommand(IDC_LOCK);
            CHILD_CHECK(!catalog_test::HasAnyWriteBit(card.paths[0]) &&
                        !catalog_test::HasAnyWriteBit(card.paths[1]));
            CHILD_CHECK(answers.m_asked.size() == 1 && answers.m_asked[0].m_strText == "Locked: 2 files in 1 groups.");
            CHILD_CHECK(lock->m_nImageState == 0); // the playing group's picture: locked
            CHILD_CHECK(!card.groups->IsLineTicked(0)); // the lists were filled again

            card.groups->SetLineTicked(0, true);
            menuOfLock(label, checked);
            CHILD_CHECK(label == "Unlock files" && checked);
            dlg.OnCommand(IDC_LOCK);
            CHILD_CHECK(catalog_test::HasAnyWriteBit(card.paths[0]) && catalog_test::HasAnyWriteBit(card.paths[1]));
            CHILD_CHECK(!catalog_test::HasAnyWriteBit(card.paths[2])); // the playing group is not touched
            CHILD_CHECK(answers.m_asked.size() == 2 && answers.m_asked[1].m_strText == "Unlocked: 2 files in 1 groups.");

            // Nothing ticked: said so, nothing changed.
            dlg.OnCommand(IDC_LOCK);
            CHILD_CHECK(answers.m_asked.size() == 3 && answers.m_asked[2].m_strCaption == "Confirm file selection");
            CHILD_CHECK(catalog_test::HasAnyWriteBit(card.paths[0]));
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}

// The group list is hidden in this window: a ticked file line marks its group. A line that is only
// selected (a click on a recording) marks nothing, whatever the question is answered.
TEST_F(CommandsTest, ATickedFileLineMarksItsGroupASelectedOneNothing) {
    EXPECT_EXIT(
        {
            StartChild(folder, screen);
            COrvexMainWindow dlg;
            Answers answers(dlg);
            dlg.Create();
            Card card(dlg, "cmd_file_lines");
            CHILD_CHECK(card.groups->isHidden());
            card.files->selectRow(0);
            for (int id : {IDC_DELETE, IDC_LOCK, IDC_SAVE_AS}) {
                dlg.OnCommand(id);
                CHILD_CHECK(answers.m_asked.back().m_strText ==
                            "No seletected files. Please select some files and try this operation again.");
            }
            CHILD_CHECK(answers.m_asked.size() == 3 && answers.m_nPicks == 0);
            for (const fs::path& path : card.paths)
                CHILD_CHECK(fs::exists(path) && catalog_test::HasAnyWriteBit(path));

            card.files->SetLineTicked(3, true); // the rear file at 09:00
            dlg.OnCommand(IDC_DELETE);
            CHILD_CHECK(fs::exists(card.paths[0]) && fs::exists(card.paths[1]));
            CHILD_CHECK(!fs::exists(card.paths[2]) && !fs::exists(card.paths[3]));
            CHILD_CHECK(dlg.Catalog().Entries().size() == 2);
            std::_Exit(0);
        },
        testing::ExitedWithCode(0), "");
}
