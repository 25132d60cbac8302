// The source selection: the folder picker opens inside the stored folder, the chosen folder is
// stored and handed back, Cancel changes nothing, and only existing folders are accepted.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <unistd.h>

#include "folder_dialog.h"
#include "folder_setting.h"
#include "media_open_dialog.h"
#include "settings.h"

namespace fs = std::filesystem;

namespace {

// A settings file of its own under a scratch folder with two folders to choose from.
class DialogScratch {
  public:
    DialogScratch() : m_root(fs::temp_directory_path() / ("veltrix_dialogs_" + std::to_string(::getpid()))) {
        fs::remove_all(m_root);
        fs::create_directories(m_root / "cardA");
        fs::create_directories(m_root / "cardB");
        CAppSettings& settings = GetAppSettings();
        m_savedIni = settings.m_strIniPath;
        settings.m_strIniPath = m_root / "Veltrix.ini";
    }
    ~DialogScratch() {
        GetAppSettings().m_strIniPath = m_savedIni;
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    fs::path Folder(const char* name) const { return m_root / name; }
    std::string Stored() const { return GetAppSettings().ReadString("UI", "Folder", "<none>", 4096); }
    void Store(const std::string& value) const { GetAppSettings().WriteString("UI", "Folder", value); }

  private:
    fs::path m_root;
    fs::path m_savedIni;
};

// Runs `act` on the folder picker once it is shown modally (as a user would act on it).
void WhenPickerShows(std::function<void(QFileDialog&)> act) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!picker || !picker->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        act(*picker);
    });
    poll->start(10);
}

QString Q(const fs::path& path) {
    return QString::fromStdString(path.string());
}

} // namespace

TEST(MediaOpenDialog, OpensInsideTheStoredFolderAndStoresTheChoice) {
    DialogScratch scratch;
    scratch.Store(scratch.Folder("cardA").string());
    QString openedIn, title;
    bool native = true;
    QFileDialog::FileMode mode = QFileDialog::AnyFile;
    QWidget window;
    QWidget* pickerOwner = nullptr;
    WhenPickerShows([&](QFileDialog& picker) {
        pickerOwner = picker.parentWidget();
        openedIn = picker.directory().absolutePath();
        title = picker.windowTitle();
        native = !picker.testOption(QFileDialog::DontUseNativeDialog);
        mode = picker.fileMode();
        picker.setDirectory(Q(scratch.Folder("cardB")));
        static_cast<QDialog&>(picker).accept(); // the Open button
    });
    CMediaOpenDialog dialog(&window);
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(pickerOwner, &window) << "the picker stands over the window that asked";
    EXPECT_EQ(openedIn, Q(scratch.Folder("cardA")));
    EXPECT_EQ(title, "Select a folder");
    EXPECT_FALSE(native);
    EXPECT_EQ(mode, QFileDialog::Directory);
    EXPECT_EQ(dialog.m_strFolder, Q(scratch.Folder("cardB")));
    EXPECT_EQ(dialog.FolderPath(), scratch.Folder("cardB"));
    EXPECT_EQ(dialog.m_nSourceKind, 2) << "the folder choice";
    EXPECT_EQ(scratch.Stored(), scratch.Folder("cardB").string());
    EXPECT_FALSE(dialog.isVisible()) << "only the picker is ever shown";
}

TEST(MediaOpenDialog, CancelStoresNothingAndOpensNothing) {
    DialogScratch scratch;
    scratch.Store(scratch.Folder("cardA").string());
    WhenPickerShows([](QFileDialog& picker) { picker.reject(); });
    CMediaOpenDialog dialog;
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(dialog.m_strFolder.isEmpty());
    EXPECT_EQ(scratch.Stored(), scratch.Folder("cardA").string());
}

TEST(MediaOpenDialog, StoredFolderThatIsGoneOpensAtTheDefaultPlace) {
    DialogScratch scratch;
    scratch.Store(scratch.Folder("gone").string());
    EXPECT_EQ(ReadFolderSetting(), "");
    QString openedIn;
    WhenPickerShows([&](QFileDialog& picker) {
        openedIn = picker.directory().absolutePath();
        picker.reject();
    });
    CMediaOpenDialog dialog;
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_NE(openedIn, Q(scratch.Folder("gone")));
    EXPECT_EQ(scratch.Stored(), scratch.Folder("gone").string()) << "cancel leaves the setting alone";
}

TEST(MediaOpenDialog, TypedNameThatIsNoFolderKeepsThePickerOpen) {
    DialogScratch scratch;
    bool stayedOpen = false;
    WhenPickerShows([&](QFileDialog& picker) {
        picker.setDirectory(Q(scratch.Folder("cardA")));
        // Typed into the name box: selectFile() leaves the box alone once it has the focus, which
        // depends on when the window was activated.
        auto* nameBox = picker.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(nameBox, nullptr);
        nameBox->setText(QStringLiteral("not-a-folder"));
        static_cast<QDialog&>(picker).accept(); // the Open button
        stayedOpen = picker.isVisible();
        nameBox->setText(Q(scratch.Folder("cardB")));
        static_cast<QDialog&>(picker).accept(); // the Open button
    });
    CFolderDialog folderDialog(QStringLiteral("Select a folder"), QString(), nullptr);
    EXPECT_EQ(folderDialog.DoModal(), CFolderDialog::kOk);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(folderDialog.m_szSelectedPath, Q(scratch.Folder("cardB")));
}

TEST(MediaOpenDialog, FolderLongerThanTheSettingIsOpenedButNotStored) {
    DialogScratch scratch;
    fs::path deep = scratch.Folder("cardA");
    while (deep.string().size() <= kFolderSettingMaxChars)
        deep /= std::string(200, 'd');
    ASSERT_TRUE(fs::create_directories(deep));
    scratch.Store(scratch.Folder("cardA").string());
    WhenPickerShows([&](QFileDialog& picker) {
        picker.setDirectory(Q(deep));
        static_cast<QDialog&>(picker).accept(); // the Open button
    });
    CMediaOpenDialog dialog;
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.FolderPath(), deep) << "the whole path reaches the window";
    EXPECT_EQ(scratch.Stored(), scratch.Folder("cardA").string())
        << "a cut path would name another folder: the folder stored before stays";
}

TEST(FolderSetting, StoredTextRules) {
    EXPECT_EQ(StoredFolderText("/media/card"), "/media/card");
    EXPECT_EQ(StoredFolderText(std::string(1023, 'a')), std::string(1023, 'a'));
    EXPECT_EQ(StoredFolderText(std::string(1024, 'a')), "");
    std::string wide; // 1023 characters of two bytes each
    for (int i = 0; i < 1023; ++i)
        wide += "\xC3\xA4";
    EXPECT_EQ(StoredFolderText(wide), wide) << "characters, not bytes";
    EXPECT_EQ(StoredFolderText("/media/ca\nrd"), "") << "a line break would split the settings line";
}
