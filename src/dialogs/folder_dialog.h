// The folder picker of the source selection: Qt's own (non-native) file dialog in folder mode, so it
// looks and behaves the same on every desktop and can be driven by tests and assistive technology.
#pragma once

#include <QFileDialog>
#include <QString>

class QWidget;

// The picker window itself: accepts only an existing folder; anything else typed into its name box
// beeps and keeps it open.
class CFolderPicker : public QFileDialog {
  public:
    CFolderPicker(QWidget* parent, const QString& title);
    void accept() override;
};

class CFolderDialog {
  public:
    enum Result { kOk = 1, kCancel = 2, kNoFileSystemPath = -1 };

    // initialFolder: where the picker opens (inside it); empty: the picker's default place.
    CFolderDialog(const QString& title, const QString& initialFolder, QWidget* parent);

    // Shows the picker modally. kOk with m_szSelectedPath set, kCancel, or kNoFileSystemPath when
    // the chosen item has no path.
    int DoModal();

    QString m_szInitialPath;
    QString m_szSelectedPath;

  private:
    QString m_strTitle;
    QWidget* m_pParent;
};
