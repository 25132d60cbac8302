// What the file list and the group list share: a report view with grid lines, a check box and a
// lock icon per line, full-row selection, columns whose widths are fractions of the control's
// width, the playing line's highlight, and the double-click message to the main window.
#pragma once

#include <QTableWidget>
#include <array>
#include <span>

#include "lock_icon_strip.h"

class QImage;

// One column: header text id and width as a fraction of the control's width.
struct ListColumnSpec {
    unsigned textId;
    int widthNumerator;
    int widthDenominator;
};

// Item data role that marks the playing line (its look comes from the font and background roles;
// the selection and the check box are never touched by it).
constexpr int kCurrentLineRole = Qt::UserRole + 1;

class COrvexListCtrl : public QTableWidget {
    Q_OBJECT

  public:
    // The main window: receives the double-click message (sent, on the UI thread).
    void SetMessageTarget(QObject* target) { m_pMessageTarget = target; }
    // Four 24 x 24 icons in a row, magenta transparent (by default a drawn strip).
    void SetLockIconStrip(const QImage& strip);

    // Report view, grid lines, check boxes, full-row selection, the icons, then the columns.
    void Setup();
    void InsertColumns();
    // Header texts again from the string table of the current language.
    void RetitleColumns();

    int LineCount() const { return rowCount(); }
    void DeleteAllLines(); // the playing line goes with them
    bool IsLineTicked(int line) const;
    bool IsLineSelected(int line) const;
    void SetLineTicked(int line, bool ticked);

    // Moves the playing line's highlight: off the previous line (when it still exists), onto
    // `line`, and scrolls it into view. -1 or a line that does not exist only removes the old one.
    void MarkCurrentLine(int line);
    int CurrentLine() const { return m_nCurrentLine; }
    bool IsCurrentLine(int line) const;

  protected:
    COrvexListCtrl(int chosenMessage, std::span<const ListColumnSpec> columns, QWidget* parent);
    // Appends a line: the first text with the check box and the icon of the lock marks, then the
    // other columns. False (nothing added) when texts do not match the columns.
    bool AddLine(const QStringList& texts, int lockMarks);

    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ApplyColumnWidths();
    void SetLineHighlight(int line, bool on);

    const int m_nChosenMessage;
    const std::span<const ListColumnSpec> m_Columns;
    QObject* m_pMessageTarget = nullptr;
    std::array<QIcon, kLockIconCount> m_LockIcons;
    int m_nCurrentLine = -1;
};
