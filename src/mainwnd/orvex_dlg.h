// The main window: the one top-level window of the viewer. Caption-less and frameless, drawn
// on near-black, it owns every other window and widget of the process for the whole run.
#pragma once

#include <QIcon>
#include <QRect>
#include <QWidget>

class QCloseEvent;
class QPaintEvent;

class COrvexDlg : public QWidget {
    Q_OBJECT

  public:
    // Reads "UI"/"MAP" (the first settings access, which creates the settings store) and loads
    // the application icon. The window itself is built by Create().
    explicit COrvexDlg(QWidget* parent = nullptr);
    ~COrvexDlg() override;

    // Modeless creation: builds the window and runs OnInitDialog(). True on success.
    bool Create();

    // Saves the window rectangle under "WINPOS" and ends the process at once with exit code 0.
    // Nothing else is torn down. Also the close button's command (1046).
    [[noreturn]] void OnClose();

    // Children carry their numeric control id as object name; these address them by it.
    static void SetControlId(QWidget* control, int id);
    static int ControlId(const QWidget* control);
    QWidget* ControlById(int id) const;
    template <class T> T* ControlById(int id) const { return qobject_cast<T*>(ControlById(id)); }

    const QIcon& AppIcon() const { return m_hIcon; }

    // The window rectangle in screen coordinates as saved at close: right and bottom exclusive.
    QRect WindowRect() const;

    // Main-window state (initial values before OnInitDialog).
    bool m_bMapShown = true;
    bool m_bGsrShown = true;
    int m_nMapKind = 0;

  protected:
    // Window initialisation, in order; later steps (panes, engines, map, lists, timers) join here.
    virtual bool OnInitDialog();
    // Places the window by the saved "WINPOS" rectangle, within the screen's available area.
    void RestoreWindowPosition();

    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QIcon m_hIcon;
    bool m_bCreated = false;
};
