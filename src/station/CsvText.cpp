#include "station/CsvText.h"

#include <QStringDecoder>

namespace quorvane::station {

std::optional<CsvText::Table> CsvText::parse(const QByteArray& bytes, QString& error) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QByteArray body = bytes;
    if (body.startsWith("\xEF\xBB\xBF")) {
        body.remove(0, 3);
    }
    const QString text = decoder.decode(body);
    if (decoder.hasError()) {
        error = QStringLiteral("is not UTF-8 text");
        return std::nullopt;
    }

    Table table;
    QStringList row;
    QString cellText;
    bool quoted = false;    // inside quotes
    bool wasQuoted = false; // the cell began with a quote
    bool lineHasText = false;
    bool sawFirstEnd = false;
    int line = 1;
    int cellLine = 1;
    auto endCell = [&] {
        row << cellText;
        cellText.clear();
        wasQuoted = false;
    };
    auto endRow = [&] {
        endCell();
        if (lineHasText) {
            table.rows << row;
        }
        row.clear();
        lineHasText = false;
    };
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < n && text[i + 1] == QLatin1Char('"')) {
                    cellText += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == QLatin1Char('\n')) {
                    ++line;
                }
                cellText += c;
            }
            continue;
        }
        if (c == QLatin1Char('"')) {
            if (!cellText.isEmpty() || wasQuoted) {
                error = QStringLiteral("line %1: a quote inside a cell that does not begin "
                                       "with one")
                            .arg(line);
                return std::nullopt;
            }
            quoted = true;
            wasQuoted = true;
            lineHasText = true;
            cellLine = line;
        } else if (c == QLatin1Char(',')) {
            endCell();
            lineHasText = true;
        } else if (c == QLatin1Char('\n') ||
                   (c == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'))) {
            if (!sawFirstEnd) {
                table.crlf = c == QLatin1Char('\r');
                sawFirstEnd = true;
            }
            if (c == QLatin1Char('\r')) {
                ++i;
            }
            endRow();
            ++line;
        } else {
            if (wasQuoted) {
                error =
                    QStringLiteral("line %1: text after a quoted cell's closing quote").arg(line);
                return std::nullopt;
            }
            cellText += c;
            lineHasText = true;
        }
    }
    if (quoted) {
        error = QStringLiteral("line %1: a quoted cell is never closed").arg(cellLine);
        return std::nullopt;
    }
    endRow();
    return table;
}

QString CsvText::cell(const QString& text) {
    const bool needsQuotes = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
                             text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
                             (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace()));
    if (!needsQuotes) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QByteArray CsvText::format(const QList<QStringList>& rows, bool crlf) {
    QString text;
    const QLatin1String end = crlf ? QLatin1String("\r\n") : QLatin1String("\n");
    for (const QStringList& row : rows) {
        for (qsizetype i = 0; i < row.size(); ++i) {
            if (i > 0) {
                text += QLatin1Char(',');
            }
            text += cell(row[i]);
        }
        text += end;
    }
    return text.toUtf8();
}

} // namespace quorvane::station
