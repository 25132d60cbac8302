#include "orvex_list_ctrl.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>

#include "language.h"
#include "private_message.h"

COrvexListCtrl::COrvexListCtrl(int chosenMessage, std::span<const ListColumnSpec> columns, QWidget* parent)
    : QTableView(parent), m_nChosenMessage(chosenMessage), m_Columns(columns),
      m_pLines(new CListLinesModel(
          static_cast<int>(columns.size()), [this](int line, int column) { return CellText(line, column); },
          this)) {
    setModel(m_pLines);
    SetLockIconStrip(DrawLockIconStrip());
}

void COrvexListCtrl::SetLockIconStrip(const QImage& strip) {
    const std::array<QImage, kLockIconCount> images = SplitLockIconStrip(strip);
    std::array<QIcon, kLockIconCount> icons;
    for (size_t i = 0; i < images.size(); ++i)
        icons[i] = images[i].isNull() ? QIcon() : QIcon(QPixmap::fromImage(images[i]));
    m_pLines->SetLockIcons(icons);
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
    RetitleColumns();
    ApplyColumnWidths();
}

void COrvexListCtrl::RetitleColumns() {
    QStringList titles;
    for (const ListColumnSpec& column : m_Columns)
        titles << QString::fromStdString(LoadLangString(column.textId));
    m_pLines->SetTitles(titles);
}

QString COrvexListCtrl::CellText(int, int) const {
    return {};
}

QString COrvexListCtrl::ColumnTitle(int column) const {
    return m_pLines->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QString COrvexListCtrl::LineText(int line, int column) const {
    return m_pLines->data(m_pLines->index(line, column), Qt::DisplayRole).toString();
}

QRect COrvexListCtrl::LineRect(int line, int column) const {
    const QModelIndex cell = m_pLines->index(line, column);
    return cell.isValid() ? visualRect(cell) : QRect();
}

QIcon COrvexListCtrl::LineIcon(int line) const {
    return m_pLines->data(m_pLines->index(line, 0), Qt::DecorationRole).value<QIcon>();
}

void COrvexListCtrl::ApplyColumnWidths() {
    for (size_t i = 0; i < m_Columns.size(); ++i) {
        const ListColumnSpec& column = m_Columns[i];
        setColumnWidth(static_cast<int>(i), width() * column.widthNumerator / column.widthDenominator);
    }
}

void COrvexListCtrl::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    ApplyColumnWidths();
}

void COrvexListCtrl::DeleteAllLines() {
    m_pLines->Clear([this] { ForgetLines(); });
}

bool COrvexListCtrl::IsLineSelected(int line) const {
    const QModelIndex first = m_pLines->index(line, 0);
    return first.isValid() && selectionModel() && selectionModel()->isSelected(first);
}

void COrvexListCtrl::MarkCurrentLine(int line) {
    m_pLines->SetCurrentLine(line);
    if (CurrentLine() < 0) return;
    const int sideways = horizontalScrollBar()->value(); // only the line's height matters
    scrollTo(m_pLines->index(line, 0));
    horizontalScrollBar()->setValue(sideways);
}

// The click signals do not fire on empty space, and a double click there must still say "no line".
void COrvexListCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    const QModelIndex index = indexAt(event->position().toPoint());
    const int line = index.isValid() ? index.row() : -1;
    event->accept();
    SendPrivateMessage(m_pMessageTarget, m_nChosenMessage,
                       static_cast<uintptr_t>(static_cast<intptr_t>(line)));
}
