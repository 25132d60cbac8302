#include "list_lines_model.h"

#include <QColor>
#include <QFont>

namespace {

const QColor kCurrentLineBackground(255, 226, 140);

} // namespace

CListLinesModel::CListLinesModel(int columns, TextFn text, QObject* parent)
    : QAbstractTableModel(parent), m_nColumns(columns), m_fnText(std::move(text)) {}

int CListLinesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_Lines.size());
}

int CListLinesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_nColumns;
}

QVariant CListLinesModel::data(const QModelIndex& index, int role) const {
    const int line = index.row();
    if (!index.isValid() || !Exists(line) || index.column() >= m_nColumns) return {};
    const LineState& state = m_Lines[static_cast<size_t>(line)];
    const bool current = line == m_nCurrentLine;
    const bool first = index.column() == 0;
    switch (role) {
    case Qt::DisplayRole:
        return m_fnText ? m_fnText(line, index.column()) : QString();
    case Qt::TextAlignmentRole:
        return QVariant(static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter));
    case Qt::CheckStateRole:
        return first ? QVariant(state.ticked ? Qt::Checked : Qt::Unchecked) : QVariant();
    case Qt::DecorationRole:
        return first ? QVariant(m_LockIcons[static_cast<size_t>(LockIconIndex(state.lockMarks))])
                     : QVariant();
    case Qt::UserRole:
        return first ? QVariant(static_cast<int>(state.lockMarks)) : QVariant();
    case Qt::FontRole:
        if (!current) return {};
        {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
    case Qt::BackgroundRole:
        return current ? QVariant(kCurrentLineBackground) : QVariant();
    case kCurrentLineRole:
        return current;
    default:
        return {};
    }
}

// The check box is the only thing a user changes in a line.
bool CListLinesModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 || !Exists(index.row()))
        return false;
    SetTicked(index.row(), value.toInt() == Qt::Checked);
    return true;
}

Qt::ItemFlags CListLinesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0) flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant CListLinesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_Titles.size())
        return m_Titles[section];
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole)
        return QVariant(static_cast<int>(Qt::AlignLeft | Qt::AlignVCenter));
    return QAbstractTableModel::headerData(section, orientation, role);
}

void CListLinesModel::SetTitles(const QStringList& titles) {
    m_Titles = titles;
    if (m_nColumns > 0) emit headerDataChanged(Qt::Horizontal, 0, m_nColumns - 1);
}

void CListLinesModel::SetLockIcons(const std::array<QIcon, kLockIconCount>& icons) {
    m_LockIcons = icons;
    if (!m_Lines.empty())
        emit dataChanged(index(0, 0), index(static_cast<int>(m_Lines.size()) - 1, 0), {Qt::DecorationRole});
}

void CListLinesModel::AppendLines(const std::vector<uint8_t>& lockMarks) {
    if (lockMarks.empty()) return;
    const int first = static_cast<int>(m_Lines.size());
    beginInsertRows({}, first, first + static_cast<int>(lockMarks.size()) - 1);
    m_Lines.reserve(m_Lines.size() + lockMarks.size());
    for (uint8_t marks : lockMarks)
        m_Lines.push_back({marks, false});
    endInsertRows();
}

void CListLinesModel::Clear(const std::function<void()>& forget) {
    beginResetModel();
    m_Lines.clear();
    m_Lines.shrink_to_fit();
    m_nCurrentLine = -1;
    if (forget) forget();
    endResetModel();
}

bool CListLinesModel::IsTicked(int line) const {
    return Exists(line) && m_Lines[static_cast<size_t>(line)].ticked;
}

void CListLinesModel::SetTicked(int line, bool ticked) {
    if (!Exists(line) || m_Lines[static_cast<size_t>(line)].ticked == ticked) return;
    m_Lines[static_cast<size_t>(line)].ticked = ticked;
    emit dataChanged(index(line, 0), index(line, 0), {Qt::CheckStateRole});
}

int CListLinesModel::LockMarks(int line) const {
    return Exists(line) ? m_Lines[static_cast<size_t>(line)].lockMarks : 0;
}

void CListLinesModel::SetCurrentLine(int line) {
    const int previous = m_nCurrentLine;
    m_nCurrentLine = Exists(line) ? line : -1;
    if (previous != m_nCurrentLine) {
        LineChanged(previous);
        LineChanged(m_nCurrentLine);
    }
}

void CListLinesModel::LineChanged(int line) {
    if (Exists(line) && m_nColumns > 0) emit dataChanged(index(line, 0), index(line, m_nColumns - 1));
}
