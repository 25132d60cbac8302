// The configuration dialog (173): the map page and the user-interface language. Its Apply buttons
// act at once (settings written, the main window told by private message); OK applies both and
// says whether the program must restart for the language. "Clear map cache" empties the map's
// tile cache through the function the caller gives (the dialog knows nothing of the map).
#pragma once

#include <QDialog>

#include <functional>

#include "program_restart.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QObject;
class QPushButton;

class CConfigDialog : public QDialog {
  public:
    // `receiver` gets 0x0C0B and 0x0C02; null: the parent.
    explicit CConfigDialog(QWidget* parent = nullptr, QObject* receiver = nullptr);

    // One showing: the language row at opening is forgotten first, the lists are filled and
    // selected from the settings, then the dialog runs modally.
    int exec() override;

    // The initialisation of one showing (also used by exec()).
    void OnInitDialog();
    // Window title, buttons and group boxes in the current language; the list items stay.
    void ApplyTexts();
    // Map Apply (1039).
    void ApplyMap();
    // Language Apply (1044).
    void OnApplyLanguage();
    // OK (1): map and language applied, then the dialog ends.
    void accept() override;

    // After OK: the language differs from the one recorded before the latest change.
    bool RestartNeeded() const { return m_bRestartNeeded; }

    // What "Clear map cache" calls: true when the cache is being emptied, false when the map
    // keeps none on disk. Without one the button is disabled.
    void SetMapCacheClearer(std::function<bool()> clear);
    // "Clear map cache" (1171): clears and says the outcome in the line below the button.
    void OnClearMapCache();
    QPushButton* ClearMapCacheButton() const { return m_pClearCache; }
    QLabel* MapCacheStatus() const { return m_pCacheStatus; }

    QComboBox* m_cbMap;
    QComboBox* m_cbLang;
    int m_nMapKind = -1;    // chosen by the last map Apply or OK; read by the caller after OK
    int m_nLangAtOpen = -1; // the language row before the latest language Apply (or at OK)

  private:
    QObject* m_pReceiver;
    QPushButton* m_pOk;
    QPushButton* m_pCancel;
    QPushButton* m_pApplyMap;
    QPushButton* m_pApplyLang;
    QGroupBox* m_pMapBox;
    QGroupBox* m_pLangBox;
    QPushButton* m_pClearCache;
    QLabel* m_pCacheStatus;
    std::function<bool()> m_clearMapCache;
    bool m_bRestartNeeded = false;
};

// What the configuration command needs from the main window.
struct ConfigCommandHooks {
    // After OK: the main window takes the kind as its own and loads that map page.
    std::function<void(int mapKind)> takeMapKind;
    // "Clear map cache" (see CConfigDialog::SetMapCacheClearer); none: the button is disabled.
    std::function<bool()> clearMapCache;
    RestartHooks restart;
};

// The configuration command (1015): the dialog modally over `window`, messages to `window`; after
// OK the map kind goes to the window and, when the language changed, the program restarts.
// Returns the dialog's result.
int RunConfigCommand(QWidget* window, const ConfigCommandHooks& hooks);
