// The about box (100): picture 248, the product captions and version, the keyboard shortcuts,
// OK. Its title and list follow the user-interface language; the captions are the product's own.
#pragma once

#include <QDialog>

#include <vector>

#include "command_table.h"

class QTableWidget;

class CAboutDlg : public QDialog {
  public:
    // `shortcuts`: the window's keys and what they do, as its command set lists them.
    explicit CAboutDlg(std::vector<ShortcutRow> shortcuts, QWidget* parent = nullptr);

    // Title in the current language (string 101) and the shortcut list filled again.
    void OnInitDialog();

    int exec() override;

  private:
    void FillShortcuts();

    std::vector<ShortcutRow> m_rows;
    QTableWidget* m_pShortcuts;
};
