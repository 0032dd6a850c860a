#pragma once

#include "station/AtomicFile.h"
#include "station/CruiseRow.h"
#include "station/FileFingerprint.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane::station {

// The cruise table: a CSV file with one row per penetration (CruiseColumns), which the
// operator may also open in a spreadsheet. Columns the operator added are kept, in their
// place. It is written whole or not at all, and never over a file that changed since it was
// read or that a spreadsheet has open.
class CruiseTable {
public:
    // Reads the table. A missing file is an empty table when `mayBeMissing`; otherwise, and
    // for a file that is not a cruise table, nothing, with the reason.
    static std::optional<CruiseTable> read(const QString& path, QString& error,
                                           bool mayBeMissing = false);

    const QString& path() const { return m_path; }
    // The file's columns: this program's in its order for a new table.
    const QStringList& columns() const { return m_columns; }
    const QList<CruiseRow>& rows() const { return m_rows; }

    // Puts the row in, in place of every row with the same key; true when it replaced one.
    bool put(const CruiseRow& row);
    // Rows by the penetration's time, then cruise, station and penetration; rows without a
    // time last.
    void sortRows();

    // Sorts the rows and writes the table; false with the reason. Refused when a spreadsheet
    // has the file open or it changed since it was read.
    bool save(QString& error, const AtomicFile::Progress& progress = {});

    // LibreOffice's lock file beside an open document: .~lock.<name>#
    static QString lockFileFor(const QString& path);

private:
    explicit CruiseTable(QString path) : m_path(std::move(path)) {}
    QString inUseOrChanged() const;

    QString m_path;
    QStringList m_columns;
    QList<CruiseRow> m_rows;
    FileFingerprint m_read;
    bool m_crlf = false;
};

} // namespace quorvane::station
