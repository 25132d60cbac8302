// The about box (100): picture 248, the product captions and version, the keyboard shortcuts,
// OK. Its title follows the user-interface language; the captions are the product's own.
#pragma once

#include <QDialog>

class QTableWidget;

class CAboutDlg : public QDialog {
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    // Title in the current language (string 101) and the shortcut list filled again.
    void OnInitDialog();

    int exec() override;

  private:
    void FillShortcuts();

    QTableWidget* m_pShortcuts;
};
