// The lines of the file and group lists as a table model without an object per cell: what a cell
// shows is asked of its owner when the view draws it, and the model keeps per line only its check
// box and lock marks, plus which line is the playing one. So filling or emptying 100,000 lines
// costs a few small allocations instead of millions, and freeing them never stalls a later paint.
#pragma once

#include <QAbstractTableModel>
#include <QIcon>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "lock_icon_strip.h"

// Item data role that marks the playing line (its look comes from the font and background roles;
// the selection and the check box are never touched by it).
constexpr int kCurrentLineRole = Qt::UserRole + 1;

class CListLinesModel : public QAbstractTableModel {
  public:
    // text(line, column): what the cell shows; asked only for lines that exist.
    using TextFn = std::function<QString(int line, int column)>;
    CListLinesModel(int columns, TextFn text, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void SetTitles(const QStringList& titles);
    void SetLockIcons(const std::array<QIcon, kLockIconCount>& icons);

    // Lines after the last one, clear, with their lock marks. The owner stores what their cells
    // show before it calls this.
    void AppendLines(const std::vector<uint8_t>& lockMarks);
    // Every line gone; `forget` (the owner dropping what the cells showed) runs inside the reset.
    void Clear(const std::function<void()>& forget);

    bool IsTicked(int line) const;
    void SetTicked(int line, bool ticked);
    int LockMarks(int line) const;
    // -1 for none; the old and the new line are redrawn.
    void SetCurrentLine(int line);
    int CurrentLine() const { return m_nCurrentLine; }

  private:
    struct LineState {
        uint8_t lockMarks = 0;
        bool ticked = false;
    };
    bool Exists(int line) const { return line >= 0 && static_cast<size_t>(line) < m_Lines.size(); }
    void LineChanged(int line);

    const int m_nColumns;
    const TextFn m_fnText;
    QStringList m_Titles;
    std::array<QIcon, kLockIconCount> m_LockIcons;
    std::vector<LineState> m_Lines;
    int m_nCurrentLine = -1;
};
