#include "folder_dialog.h"

#include <QApplication>
#include <QFileInfo>

CFolderPicker::CFolderPicker(QWidget* parent, const QString& title) : QFileDialog(parent, title) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setOption(QFileDialog::ShowDirsOnly, true);
    setFileMode(QFileDialog::Directory);
    setAcceptMode(QFileDialog::AcceptOpen);
    setAccessibleName(title);
}

void CFolderPicker::accept() {
    const QStringList chosen = selectedFiles();
    if (chosen.isEmpty() || !QFileInfo(chosen.first()).isDir()) {
        QApplication::beep();
        return;
    }
    QFileDialog::accept();
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
