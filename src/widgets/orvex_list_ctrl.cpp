#include "orvex_list_ctrl.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>

#include "language.h"
#include "private_message.h"

namespace {

const QColor kCurrentLineBackground(255, 226, 140);

} // namespace

COrvexListCtrl::COrvexListCtrl(int chosenMessage, std::span<const ListColumnSpec> columns, QWidget* parent)
    : QTableWidget(parent), m_nChosenMessage(chosenMessage), m_Columns(columns) {
    SetLockIconStrip(DrawLockIconStrip());
}

void COrvexListCtrl::SetLockIconStrip(const QImage& strip) {
    const std::array<QImage, kLockIconCount> icons = SplitLockIconStrip(strip);
    for (size_t i = 0; i < icons.size(); ++i)
        m_LockIcons[i] = icons[i].isNull() ? QIcon() : QIcon(QPixmap::fromImage(icons[i]));
    for (int line = 0; line < rowCount(); ++line)
        if (QTableWidgetItem* first = item(line, 0))
            first->setIcon(
                m_LockIcons[static_cast<size_t>(LockIconIndex(first->data(Qt::UserRole).toInt()))]);
}

void COrvexListCtrl::Setup() {
    setShowGrid(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setIconSize(QSize(kLockIconSize, kLockIconSize));
    setWordWrap(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(kLockIconSize + 4);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    InsertColumns();
}

void COrvexListCtrl::InsertColumns() {
    setColumnCount(static_cast<int>(m_Columns.size()));
    RetitleColumns();
    ApplyColumnWidths();
}

void COrvexListCtrl::RetitleColumns() {
    QStringList titles;
    for (const ListColumnSpec& column : m_Columns)
        titles << QString::fromStdString(LoadLangString(column.textId));
    setHorizontalHeaderLabels(titles);
}

void COrvexListCtrl::ApplyColumnWidths() {
    for (size_t i = 0; i < m_Columns.size(); ++i) {
        const ListColumnSpec& column = m_Columns[i];
        setColumnWidth(static_cast<int>(i), width() * column.widthNumerator / column.widthDenominator);
    }
}

void COrvexListCtrl::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    ApplyColumnWidths();
}

bool COrvexListCtrl::AddLine(const QStringList& texts, int lockMarks) {
    if (texts.size() != columnCount() || texts.isEmpty()) return false;
    const int line = rowCount();
    insertRow(line);
    for (int column = 0; column < texts.size(); ++column) {
        auto* cell = new QTableWidgetItem(texts[column]);
        cell->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        if (column == 0) {
            cell->setFlags(cell->flags() | Qt::ItemIsUserCheckable);
            cell->setCheckState(Qt::Unchecked);
            cell->setData(Qt::UserRole, lockMarks);
            cell->setIcon(m_LockIcons[static_cast<size_t>(LockIconIndex(lockMarks))]);
        }
        setItem(line, column, cell);
    }
    return true;
}

void COrvexListCtrl::DeleteAllLines() {
    m_nCurrentLine = -1;
    clearContents();
    setRowCount(0);
}

bool COrvexListCtrl::IsLineTicked(int line) const {
    const QTableWidgetItem* first = item(line, 0);
    return first && first->checkState() == Qt::Checked;
}

bool COrvexListCtrl::IsLineSelected(int line) const {
    const QTableWidgetItem* first = item(line, 0);
    return first && first->isSelected();
}

void COrvexListCtrl::SetLineTicked(int line, bool ticked) {
    if (QTableWidgetItem* first = item(line, 0)) first->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
}

bool COrvexListCtrl::IsCurrentLine(int line) const {
    const QTableWidgetItem* first = item(line, 0);
    return first && first->data(kCurrentLineRole).toBool();
}

void COrvexListCtrl::SetLineHighlight(int line, bool on) {
    for (int column = 0; column < columnCount(); ++column) {
        QTableWidgetItem* cell = item(line, column);
        if (!cell) continue;
        QFont font = cell->font();
        font.setBold(on);
        cell->setFont(font);
        cell->setData(kCurrentLineRole, on);
        cell->setData(Qt::BackgroundRole, on ? QVariant(kCurrentLineBackground) : QVariant());
    }
}

void COrvexListCtrl::MarkCurrentLine(int line) {
    if (m_nCurrentLine >= 0 && m_nCurrentLine < rowCount()) SetLineHighlight(m_nCurrentLine, false);
    m_nCurrentLine = -1;
    if (line < 0 || line >= rowCount()) return;
    m_nCurrentLine = line;
    SetLineHighlight(line, true);
    const int sideways = horizontalScrollBar()->value(); // only the line's height matters
    scrollToItem(item(line, 0));
    horizontalScrollBar()->setValue(sideways);
}

// The item signals do not fire on empty space, and a double click there must still say "no line".
void COrvexListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    const int line = index.isValid() ? index.row() : -1;
    event->accept();
    SendPrivateMessage(m_pMessageTarget, m_nChosenMessage,
                       static_cast<uintptr_t>(static_cast<intptr_t>(line)));
}
