#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quorvane::station {

// Comma-separated values as RFC 4180 has them, in UTF-8: a cell holding a comma, a quote, a
// line break or blanks at its ends is quoted, quotes doubled. Lines end in LF unless asked
// for CRLF; reading takes either, and a byte-order mark.
class CsvText {
public:
    struct Table {
        QList<QStringList> rows;
        bool crlf = false; // the first line ended in CRLF
    };

    // Refuses text that is not UTF-8 and broken quoting, with the line.
    // Lines that hold nothing are skipped.
    static std::optional<Table> parse(const QByteArray& bytes, QString& error);
    static QByteArray format(const QList<QStringList>& rows, bool crlf = false);
    static QString cell(const QString& text);
};

} // namespace quorvane::station
