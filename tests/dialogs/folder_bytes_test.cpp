// A folder whose name is not UTF-8 (a FAT card mounted with the wrong character set) chosen in the
// folder picker: the picker shows it with U+FFFD, and what reaches the window and the settings
// file is the folder's own bytes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTimer>

#include <filesystem>
#include <unistd.h>

#include "folder_dialog.h"
#include "media_open_dialog.h"
#include "native_path.h"
#include "settings.h"

namespace fs = std::filesystem;

namespace {

QString Shown(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

class BytesScratch {
  public:
    BytesScratch() : m_root(fs::temp_directory_path() / ("veltrix_folder_bytes_" + std::to_string(::getpid()))) {
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        CAppSettings& settings = GetAppSettings();
        m_savedIni = settings.m_strIniPath;
        settings.m_strIniPath = m_root / "Veltrix.ini";
    }
    ~BytesScratch() {
        GetAppSettings().m_strIniPath = m_savedIni;
        std::error_code ec;
        fs::remove_all(m_root, ec);
    }
    fs::path MakeFolder(const std::string& relative) const {
        fs::create_directories(m_root / relative);
        return m_root / relative;
    }
    const fs::path& Root() const { return m_root; }

  private:
    fs::path m_root;
    fs::path m_savedIni;
};

} // namespace

TEST(FolderBytes, AShownPathLeadsBackToTheBytesOfTheFolderItCameFrom) {
    BytesScratch scratch;
    const fs::path latin1 = scratch.MakeFolder("Fahrt_M\xFCnchen/Movie");
    EXPECT_EQ(NativePathOf(Shown(latin1)), latin1);
    EXPECT_EQ(NativePathOf(Shown(latin1.parent_path())), latin1.parent_path());
    const fs::path utf8 = scratch.Root() / "Fahrt_M\xC3\xBCnchen";
    EXPECT_EQ(NativePathOf(Shown(utf8)), utf8) << "UTF-8 names need no folder to exist";
    // Two names that look alike once decoded: which one was meant cannot be told.
    scratch.MakeFolder("Fahrt_A\xFC");
    scratch.MakeFolder("Fahrt_A\xFD");
    EXPECT_TRUE(NativePathOf(Shown(scratch.Root() / "Fahrt_A\xFC")).empty());
}

TEST(FolderBytes, APickedLatin1FolderReachesTheWindowAndTheSettingsAsItsBytes) {
    BytesScratch scratch;
    const fs::path card = scratch.MakeFolder("Fahrt_M\xFCnchen");
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &scratch, &card] {
        auto* picker = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!picker || !picker->isVisible()) return;
        poll->stop();
        poll->deleteLater();
        picker->setDirectory(Shown(scratch.Root()));
        // Typed into the name box: selectFile() leaves the box alone once it has the focus.
        if (auto* name = picker->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(Shown(card));
        static_cast<QDialog*>(picker)->accept(); // the Open button
        // A picker that refuses the folder stays open: close it so the test fails instead of waiting.
        if (picker->isVisible()) picker->reject();
    });
    poll->start(10);
    CMediaOpenDialog dialog;
    ASSERT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(dialog.FolderPath(), card);
    EXPECT_EQ(GetAppSettings().ReadString("UI", "Folder", "<none>"), card.native());
}
