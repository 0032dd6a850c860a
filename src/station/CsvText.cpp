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
    bool sawFirstEnd = false;
    int line = 1;
    const qsizetype n = text.size();
    auto lineEndAt = [&](qsizetype i) {
        return text[i] == QLatin1Char('\n') ||
               (text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n'));
    };
    qsizetype i = 0;
    while (i < n) {
        QStringList row;
        bool lineHasText = false;
        for (;;) {
            QString cellText;
            if (text[i] == QLatin1Char('"')) {
                lineHasText = true;
                const int cellLine = line;
                ++i;
                for (;;) {
                    const qsizetype quote = text.indexOf(QLatin1Char('"'), i);
                    if (quote < 0) {
                        error =
                            QStringLiteral("line %1: a quoted cell is never closed").arg(cellLine);
                        return std::nullopt;
                    }
                    const QStringView part = QStringView(text).mid(i, quote - i);
                    line += static_cast<int>(part.count(QLatin1Char('\n')));
                    cellText += part;
                    if (quote + 1 < n && text[quote + 1] == QLatin1Char('"')) {
                        cellText += QLatin1Char('"');
                        i = quote + 2;
                        continue;
                    }
                    i = quote + 1;
                    break;
                }
                if (i < n && text[i] != QLatin1Char(',') && !lineEndAt(i)) {
                    error = QStringLiteral("line %1: text after a quoted cell's closing quote")
                                .arg(line);
                    return std::nullopt;
                }
            } else {
                qsizetype end = i;
                while (end < n && text[end] != QLatin1Char(',') && !lineEndAt(end)) {
                    if (text[end] == QLatin1Char('"')) {
                        error = QStringLiteral("line %1: a quote inside a cell that does not "
                                               "begin with one")
                                    .arg(line);
                        return std::nullopt;
                    }
                    ++end;
                }
                cellText = text.mid(i, end - i);
                lineHasText = lineHasText || !cellText.isEmpty();
                i = end;
            }
            row << cellText;
            if (i < n && text[i] == QLatin1Char(',')) {
                lineHasText = true;
                ++i;
                if (i < n) {
                    continue;
                }
                row << QString(); // a comma at the very end
            }
            break;
        }
        if (i < n) { // at a line end
            if (!sawFirstEnd) {
                table.crlf = text[i] == QLatin1Char('\r');
                sawFirstEnd = true;
            }
            i += text[i] == QLatin1Char('\r') ? 2 : 1;
        }
        if (lineHasText) {
            table.rows << row;
        }
        ++line;
    }
    return table;
}

QString CsvText::cell(const QString& text) {
    const bool needsQuotes =
        text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) ||
        text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')) ||
        (!text.isEmpty() && (text.front().isSpace() || text.back().isSpace())) ||
        // at the start of the file it would be read as the byte-order mark
        text.startsWith(QChar(0xFEFF));
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
        if (row.size() == 1 && row.front().isEmpty()) {
            // a line with nothing on it is skipped on reading: the one empty cell is quoted
            text += QLatin1String("\"\"") + end;
            continue;
        }
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
