#pragma once

#include "station/CruiseRow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QStringList>

#include <vector>

namespace quorvane {

// The rows of a cruise table for a table view: every column of the file, sortable by any;
// cells that hold numbers sort as numbers, empty cells last either way.
class CruiseTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit CruiseTableModel(QObject* parent = nullptr);

    void setTable(const QStringList& columns, const QList<station::CruiseRow>& rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // The row shown at `row`, and its place in the file.
    const station::CruiseRow& row(int row) const;
    int fileIndex(int row) const;
    int column(const QString& name) const { return static_cast<int>(m_columns.indexOf(name)); }
    const QStringList& columns() const { return m_columns; }
    // The rows in the file's order, whatever the sort.
    const QList<station::CruiseRow>& fileRows() const { return m_rows; }

private:
    QStringList m_columns;
    QList<station::CruiseRow> m_rows;
    std::vector<int> m_order; // shown row -> row of the file
};

} // namespace quorvane
