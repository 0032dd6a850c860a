#include "station/CruiseTable.h"

#include "station/CruiseColumns.h"
#include "station/CsvText.h"
#include "station/NumberText.h"
#include "station/StationChoices.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

namespace quorvane::station {

std::optional<CruiseTable> CruiseTable::read(const QString& path, QString& error,
                                             bool mayBeMissing) {
    CruiseTable table(path);
    QByteArray content;
    if (!FileFingerprint::of(path, table.m_read, content, error)) {
        return std::nullopt;
    }
    if (!table.m_read.exists && !mayBeMissing) {
        error = QStringLiteral("%1 does not exist").arg(path);
        return std::nullopt;
    }
    QString why;
    const auto csv = CsvText::parse(content, why);
    if (!csv) {
        error = QStringLiteral("%1 is not a cruise table: it %2").arg(path, why);
        return std::nullopt;
    }
    table.m_crlf = csv->crlf;
    if (csv->rows.isEmpty()) {
        table.m_columns = CruiseColumns::all(); // nothing in it yet
        return table;
    }
    table.m_columns = csv->rows.front();
    QStringList missing;
    for (const QString& column : CruiseColumns::all()) {
        if (!table.m_columns.contains(column)) {
            missing << column;
        }
    }
    if (!missing.isEmpty()) {
        error = QStringLiteral("%1 is not a cruise table: its first line lacks the column%2 %3")
                    .arg(path, missing.size() > 1 ? QStringLiteral("s") : QString(),
                         missing.join(QStringLiteral(", ")));
        return std::nullopt;
    }
    for (qsizetype i = 0; i < table.m_columns.size(); ++i) {
        if (table.m_columns.indexOf(table.m_columns[i]) != i) {
            error = QStringLiteral("%1 is not a cruise table: it has two columns \"%2\"")
                        .arg(path, table.m_columns[i]);
            return std::nullopt;
        }
    }
    for (qsizetype r = 1; r < csv->rows.size(); ++r) {
        const QStringList& cells = csv->rows[r];
        // A spreadsheet may leave empty cells off a line's end; more cells than columns
        // would be lost on writing.
        if (cells.size() > table.m_columns.size()) {
            error = QStringLiteral("%1: row %2 has %3 cells, more than its %4 columns")
                        .arg(path)
                        .arg(r + 1)
                        .arg(cells.size())
                        .arg(table.m_columns.size());
            return std::nullopt;
        }
        CruiseRow row;
        for (qsizetype c = 0; c < cells.size(); ++c) {
            row.set(table.m_columns[c], cells[c]);
        }
        table.m_rows << row;
    }
    return table;
}

bool CruiseTable::put(const CruiseRow& row) {
    const auto before = m_rows.size();
    m_rows.removeIf([&](const CruiseRow& r) { return r.key() == row.key(); });
    const bool replaced = m_rows.size() != before;
    m_rows << row;
    return replaced;
}

void CruiseTable::sortRows() {
    struct Order {
        std::optional<double> time;
        CruiseRow::Key key;
        std::optional<double> penetration;
        qsizetype index;
    };
    // Times and keys once per row, not once per comparison.
    std::vector<Order> order;
    order.reserve(static_cast<std::size_t>(m_rows.size()));
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        const CruiseRow& r = m_rows[i];
        const CruiseRow::Key key = r.key();
        order.push_back({StationChoices::parseUtc(r.text(CruiseColumns::utc).trimmed()), key,
                         NumberText::parse(key.penetration), i});
    }
    std::stable_sort(order.begin(), order.end(), [](const Order& a, const Order& b) {
        if (a.time.has_value() != b.time.has_value()) {
            return a.time.has_value();
        }
        if (a.time && *a.time != *b.time) {
            return *a.time < *b.time;
        }
        if (a.key.cruise != b.key.cruise) {
            return a.key.cruise < b.key.cruise;
        }
        if (a.key.station != b.key.station) {
            return a.key.station < b.key.station;
        }
        if (a.penetration && b.penetration) {
            return *a.penetration < *b.penetration;
        }
        return a.key.penetration < b.key.penetration;
    });
    QList<CruiseRow> sorted;
    sorted.reserve(m_rows.size());
    for (const Order& o : order) {
        sorted << m_rows[o.index];
    }
    m_rows = std::move(sorted);
}

QString CruiseTable::lockFileFor(const QString& path) {
    const QFileInfo info(path);
    return info.absolutePath() + QStringLiteral("/.~lock.") + info.fileName() + QLatin1Char('#');
}

QString CruiseTable::inUseOrChanged() const {
    const QString lock = lockFileFor(m_path);
    if (QFileInfo::exists(lock)) {
        return QStringLiteral("the cruise table %1 is open in another program (the lock file "
                              "%2 is beside it): close it there, or remove the lock file if no "
                              "program has it open")
            .arg(m_path, QFileInfo(lock).fileName());
    }
    FileFingerprint now;
    QByteArray content;
    QString error;
    if (!FileFingerprint::of(m_path, now, content, error)) {
        return error;
    }
    const QString change = m_read.changeTo(now);
    if (!change.isEmpty()) {
        return QStringLiteral("the cruise table changed since it was read: %1; nothing was "
                              "written")
            .arg(change);
    }
    return {};
}

bool CruiseTable::save(QString& error, const AtomicFile::Progress& progress) {
    // Looked at before the work and again just before the rename.
    error = inUseOrChanged();
    if (!error.isEmpty()) {
        return false;
    }
    sortRows();
    QList<QStringList> lines;
    lines.reserve(m_rows.size() + 1);
    lines << m_columns;
    for (const CruiseRow& row : std::as_const(m_rows)) {
        QStringList cells;
        cells.reserve(m_columns.size());
        for (const QString& column : std::as_const(m_columns)) {
            cells << row.text(column);
        }
        lines << cells;
    }
    const QByteArray bytes = CsvText::format(lines, m_crlf);
    if (!AtomicFile::write(m_path, bytes, error, progress, [this] { return inUseOrChanged(); })) {
        return false;
    }
    m_read = FileFingerprint::ofBytes(m_path, bytes);
    return true;
}

} // namespace quorvane::station
