// What the file list and the group list share: a report view with grid lines, a check box and a
// lock icon per line, full-row selection, columns whose widths are fractions of the control's
// width, the playing line's highlight, and the double-click message to the main window. The lines
// live in a CListLinesModel; each list keeps the facts its cells are drawn from.
#pragma once

#include <QTableView>
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "list_lines_model.h"
#include "lock_icon_strip.h"

class QImage;

// One column: header text id and width as a fraction of the control's width.
struct ListColumnSpec {
    unsigned textId;
    int widthNumerator;
    int widthDenominator;
};

class COrvexListCtrl : public QTableView {
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

    int LineCount() const { return m_pLines->rowCount(); }
    int ColumnCount() const { return m_pLines->columnCount(); }
    QString ColumnTitle(int column) const;
    // What the cell shows; empty for a cell that does not exist.
    QString LineText(int line, int column) const;
    // Where the cell is drawn, in viewport coordinates (empty when it does not exist).
    QRect LineRect(int line, int column) const;
    int LineLockMarks(int line) const { return m_pLines->LockMarks(line); }
    // The lock icon drawn at the start of the line.
    QIcon LineIcon(int line) const;
    void DeleteAllLines(); // the playing line goes with them
    bool IsLineTicked(int line) const { return m_pLines->IsTicked(line); }
    bool IsLineSelected(int line) const;
    void SetLineTicked(int line, bool ticked) { m_pLines->SetTicked(line, ticked); }

    // Moves the playing line's highlight: off the previous line (when it still exists), onto
    // `line`, and scrolls it into view. -1 or a line that does not exist only removes the old one.
    void MarkCurrentLine(int line);
    int CurrentLine() const { return m_pLines->CurrentLine(); }
    bool IsCurrentLine(int line) const { return line >= 0 && line == CurrentLine(); }

  protected:
    COrvexListCtrl(int chosenMessage, std::span<const ListColumnSpec> columns, QWidget* parent);
    // What a cell of an existing line shows (empty once the list is being destroyed).
    virtual QString CellText(int line, int column) const;
    // Drops the facts of every line (called while the model is being emptied).
    virtual void ForgetLines() {}
    // The facts of lockMarks.size() new lines are stored: they become lines after the last one.
    void LinesStored(const std::vector<uint8_t>& lockMarks) { m_pLines->AppendLines(lockMarks); }

    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void ApplyColumnWidths();

    const int m_nChosenMessage;
    const std::span<const ListColumnSpec> m_Columns;
    QObject* m_pMessageTarget = nullptr;
    CListLinesModel* m_pLines;
};
