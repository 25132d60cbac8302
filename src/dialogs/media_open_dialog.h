// The source selection (dialog 168): its own window is never shown; running it runs the folder
// picker at once, titled "Select a folder" and opened inside the folder chosen last time, and ends
// with the picker's outcome. On OK the folder is stored under "UI"/"Folder" and m_strFolder holds it.
#pragma once

#include <QDialog>
#include <QString>
#include <filesystem>

class QButtonGroup;
class QLineEdit;

class CMediaOpenDialog : public QDialog {
  public:
    explicit CMediaOpenDialog(QWidget* parent = nullptr);

    // The folder choice, modal: Accepted with m_strFolder set, or Rejected (nothing stored).
    int exec() override;

    // m_strFolder as a file-system path (the bytes the system uses for the name).
    std::filesystem::path FolderPath() const;

    int m_nSourceKind = 0; // 0, 1, 2 from choices 1030, 1031, 1032; a folder choice is 2
    QString m_strFolder;

  private:
    void OnOk();

    QButtonGroup* m_pSourceChoices;
    QLineEdit* m_pFolderField; // control 1035: carries the path to the OK processing
};
