#include "media_open_dialog.h"

#include <QButtonGroup>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "folder_dialog.h"
#include "folder_setting.h"
#include "language.h"
#include "native_path.h"

namespace {

QString FromNative(const std::string& bytes) {
    return QFile::decodeName(QByteArray::fromStdString(bytes));
}

std::string ToNative(const QString& path) {
    return NativePathOf(path).native();
}

} // namespace

CMediaOpenDialog::CMediaOpenDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("168"));
    auto* layout = new QVBoxLayout(this);
    m_pSourceChoices = new QButtonGroup(this);
    for (int kind = 0; kind < 3; ++kind) {
        auto* choice = new QRadioButton(this);
        choice->setObjectName(QString::number(1030 + kind));
        choice->setAccessibleName(choice->objectName());
        m_pSourceChoices->addButton(choice, kind);
        layout->addWidget(choice);
    }
    m_pFolderField = new QLineEdit(this);
    m_pFolderField->setObjectName(QStringLiteral("1035"));
    m_pFolderField->setAccessibleName(QString::fromStdString(LoadLangString(113)));
    layout->addWidget(m_pFolderField);
}

int CMediaOpenDialog::exec() {
    const QString stored = FromNative(ReadFolderSetting());
    m_pFolderField->setText(stored);

    // This dialog is never shown, so the picker stands over the window that asked for it.
    QWidget* owner = parentWidget() ? parentWidget() : this;
    CFolderDialog picker(QString::fromStdString(LoadLangString(135)), stored, owner);
    if (picker.DoModal() != CFolderDialog::kOk) {
        setResult(QDialog::Rejected);
        return QDialog::Rejected;
    }
    m_strFolder = picker.m_szSelectedPath;
    m_pFolderField->setText(m_strFolder);
    m_pSourceChoices->button(2)->setChecked(true);
    std::error_code error;
    if (!std::filesystem::is_directory(ToNative(m_strFolder), error)) m_strFolder.clear();
    WriteFolderSetting(ToNative(m_strFolder));
    OnOk();
    return QDialog::Accepted;
}

void CMediaOpenDialog::OnOk() {
    m_nSourceKind = m_pSourceChoices->checkedId();
    m_strFolder = m_pFolderField->text();
    setResult(QDialog::Accepted);
}

std::filesystem::path CMediaOpenDialog::FolderPath() const {
    return ToNative(m_strFolder);
}
