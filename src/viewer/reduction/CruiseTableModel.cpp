#include "viewer/reduction/CruiseTableModel.h"

#include <algorithm>
#include <numeric>

namespace quorvane {

CruiseTableModel::CruiseTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CruiseTableModel::setTable(const QStringList& columns, const QList<station::CruiseRow>& rows) {
    beginResetModel();
    m_columns = columns;
    m_rows = rows;
    m_order.resize(static_cast<std::size_t>(rows.size()));
    std::iota(m_order.begin(), m_order.end(), 0);
    endResetModel();
}

int CruiseTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CruiseTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

const station::CruiseRow& CruiseTableModel::row(int row) const {
    return m_rows[fileIndex(row)];
}

int CruiseTableModel::fileIndex(int row) const {
    return m_order[static_cast<std::size_t>(row)];
}

QVariant CruiseTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const QString& name = m_columns[index.column()];
    const station::CruiseRow& r = row(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return r.text(name);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(r.number(name) ? Qt::AlignRight | Qt::AlignVCenter
                                                  : Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CruiseTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) {
        return {};
    }
    if (orientation == Qt::Horizontal) {
        return section < m_columns.size() ? QVariant(m_columns[section]) : QVariant();
    }
    return section + 1;
}

void CruiseTableModel::sort(int column, Qt::SortOrder order) {
    if (column < 0 || column >= columnCount()) {
        return;
    }
    const QString& name = m_columns[column];
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    std::vector<int> oldOrder = m_order;
    const bool descending = order == Qt::DescendingOrder;
    // Numbers before words, and empty cells last whichever way it goes.
    std::stable_sort(m_order.begin(), m_order.end(), [&](int a, int b) {
        const station::CruiseRow& ra = m_rows[a];
        const station::CruiseRow& rb = m_rows[b];
        const QString ta = ra.text(name).trimmed();
        const QString tb = rb.text(name).trimmed();
        if (ta.isEmpty() || tb.isEmpty()) {
            return !ta.isEmpty() && tb.isEmpty();
        }
        const auto na = ra.number(name);
        const auto nb = rb.number(name);
        if (na && nb) {
            return descending ? *nb < *na : *na < *nb;
        }
        if (na || nb) {
            return na.has_value();
        }
        const int c = QString::localeAwareCompare(ta, tb);
        return descending ? c > 0 : c < 0;
    });
    // Selections and the current row follow their rows.
    std::vector<int> shownAt(m_order.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        shownAt[static_cast<std::size_t>(m_order[i])] = static_cast<int>(i);
    }
    QModelIndexList after;
    for (const QModelIndex& i : before) {
        after << index(
            shownAt[static_cast<std::size_t>(oldOrder[static_cast<std::size_t>(i.row())])],
            i.column());
    }
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

} // namespace quorvane
