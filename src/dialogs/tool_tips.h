// The tool tips of the main window's controls: each control's name in the current language beside
// the 32 x 32 picture 191. The tips are Qt's own tool tips, composed as rich text at the moment a
// tip is about to be shown, so the picture comes from the control's ToolRecord at that time.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QSize>
#include <QString>

#include <span>
#include <functional>

class QEvent;
class QWidget;

struct ToolRecord {
    int m_nCtrlId;
    int m_nDescriptionId; // 0: no description
    int m_nImageId;       // 0: no icon
};

struct ToolTableRow {
    int m_nCtrlId;
    unsigned m_nTextId;
};

constexpr int kToolTipImageId = 191;


class CToolTips : public QObject {
  public:
    explicit CToolTips(QObject* parent = nullptr);

    // Registers `window` as a tool labelled `text`. False for a null window.
    bool AddTool(QWidget* window, const QString& text);
    // Removes the first registration of `window` (later ones move up by one).
    void DelTool(QWidget* window);

    QSize GetIconSize() const { return {32, 32}; }
    // The first record of control `ctrlId`, or null.
    const ToolRecord* FindRecord(int ctrlId) const;
    // What the tip of `window` shows now: icon, label and description; also sets m_nShownCtrlId.
    QString PrepareTip(QWidget* window);

    // Input of the main window, handed over before dispatch: a key or button press closes a shown
    // tip, as the user expects. Hovering raises tips by itself.
    void RelayEvent(QObject* receiver, QEvent* event);

    QList<QPointer<QWidget>> m_toolWindows;
    QList<ToolRecord> m_tools;
    int m_nShownCtrlId = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool IsTool(const QObject* object) const;
};

// The control with a control id, or null (the main window's id lookup).
using ControlLookupFn = std::function<QWidget*(int ctrlId)>;

// Removes every tool, then registers the controls of `rows` in order with their texts in the
// current language, and their records (no description, picture 191). Returns how many controls
// were registered (a missing control is left out).
int SetupToolTips(CToolTips& tips, std::span<const ToolTableRow> rows, const ControlLookupFn& controlById);
