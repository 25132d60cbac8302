#include "folder_dialog.h"

#include <QApplication>
#include <QFileInfo>

#include <filesystem>

#include "native_path.h"

CFolderPicker::CFolderPicker(QWidget* parent, const QString& title) : QFileDialog(parent, title) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::ShowDirsOnly, true);
    setFileMode(QFileDialog::Directory);
    setAcceptMode(QFileDialog::AcceptOpen);
    setAccessibleName(title);
}

void CFolderPicker::accept() {
    const QStringList chosen = selectedFiles();
    std::error_code error;
    // Asked of the folder's own bytes: a name that is not UTF-8 is shown with U+FFFD.
    if (chosen.isEmpty() || !std::filesystem::is_directory(NativePathOf(chosen.first()), error)) {
        QApplication::beep();
        return;
    }
    // Not QFileDialog's own accept: it looks the shown name up as text, calls a folder whose name
    // is not UTF-8 missing and opens a box of its own.
    QDialog::accept();
}

CFolderDialog::CFolderDialog(const QString& title, const QString& initialFolder, QWidget* parent)
    : m_szInitialPath(initialFolder), m_strTitle(title), m_pParent(parent) {}

int CFolderDialog::DoModal() {
    CFolderPicker picker(m_pParent, m_strTitle);
    if (!m_szInitialPath.isEmpty()) picker.setDirectory(m_szInitialPath);
    if (picker.exec() != QDialog::Accepted) return kCancel;
    const QStringList chosen = picker.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty()) return kNoFileSystemPath;
    m_szSelectedPath = QFileInfo(chosen.first()).absoluteFilePath();
    return kOk;
}
