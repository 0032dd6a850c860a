#include "formatter/FieldReadings.h"

#include "util/DecimalText.h"

#include <QCalendar>
#include <QLocale>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <cmath>
#include <iterator>
#include <limits>

namespace quorvane::fieldReadings {

namespace {

std::optional<double> finiteNumber(const QLocale& locale, const QString& text) {
    bool ok = false;
    const double value = locale.toDouble(text, &ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The C locale as QLocale::c() but refusing "1,234": a comma there is never a decimal
// point, and letting it through as a separator would hide a typing error.
QLocale strictCLocale() {
    QLocale locale = QLocale::c();
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    return locale;
}

// The same number as plain ASCII digits with "." and "e", read by the locale's rules but
// kept as text, so that every typed digit counts.
std::optional<std::string> plainNumberText(const QLocale& locale, const QString& text) {
    if (!finiteNumber(locale, text)) {
        return std::nullopt;
    }
    const QString symbols[] = {locale.groupSeparator(), locale.decimalPoint(),
                               locale.negativeSign(), locale.positiveSign(), locale.exponential()};
    const char replacements[] = {'\0', '.', '-', '+', 'e'};
    std::string plain;
    for (qsizetype i = 0; i < text.size();) {
        if (const int digit = text[i].digitValue(); digit >= 0) {
            plain += static_cast<char>('0' + digit);
            ++i;
            continue;
        }
        if (text[i] == QChar(0x2212)) {
            plain += '-';
            ++i;
            continue;
        }
        bool matched = false;
        for (std::size_t k = 0; k < std::size(symbols) && !matched; ++k) {
            if (!symbols[k].isEmpty() &&
                QStringView(text).mid(i).startsWith(symbols[k], Qt::CaseInsensitive)) {
                if (replacements[k] != '\0') {
                    plain += replacements[k];
                }
                i += symbols[k].size();
                matched = true;
            }
        }
        if (!matched) {
            return std::nullopt;
        }
    }
    return plain;
}

bool isSignChar(QChar c) {
    return c == u'-' || c == u'+' || c == QChar(0x2212);
}

bool isNegativeSign(QChar c) {
    return c == u'-' || c == QChar(0x2212);
}

// Removes the locale's currency symbol or ISO code from either end of the text.
bool stripCurrencySymbol(const QLocale& locale, QString& text) {
    const QString symbols[] = {locale.currencySymbol(QLocale::CurrencySymbol),
                               locale.currencySymbol(QLocale::CurrencyIsoCode)};
    for (const QString& symbol : symbols) {
        if (symbol.isEmpty() || text.size() <= symbol.size()) {
            continue;
        }
        if (text.startsWith(symbol, Qt::CaseInsensitive)) {
            text = text.mid(symbol.size()).trimmed();
            return true;
        }
        if (text.endsWith(symbol, Qt::CaseInsensitive)) {
            text.chop(symbol.size());
            text = text.trimmed();
            return true;
        }
    }
    return false;
}

// Fixed spellings, read with English month names before any locale's own forms so that
// the "mm/dd/yyyy" form the Formatter writes always reads back as the same date.
const char* const kFixedDateFormats[] = {
    "M/d/yyyy",   "M/d/yy",      "M-d-yyyy",    "M-d-yy",      "yyyy-M-d",
    "yyyy/M/d",   "MMM d yyyy",  "MMM d, yyyy", "MMMM d yyyy", "MMMM d, yyyy",
    "d MMM yyyy", "d MMMM yyyy", "d-MMM-yyyy",  "d-MMM-yy",
};

bool hasTwoDigitYear(const QString& format) {
    static const QRegularExpression twoDigits(QStringLiteral("(?<!y)yy(?!y)"));
    return twoDigits.match(format).hasMatch();
}

std::optional<QDate> dateIn(const QLocale& locale, const QString& text, const QString& format) {
    QDate date;
    if (hasTwoDigitYear(format)) {
        // Qt reads "yy" as 19yy and checks the day in that year, so 2/29/00 would be
        // checked against 1900. The Julian calendar has the same months and a leap year
        // every fourth year, as the Gregorian one has from 1901 to 2099: read there, then
        // windowed like most desktop programs (00 to 29 mean 2000 to 2029) and checked
        // again as a Gregorian date.
        const QCalendar julian(QCalendar::System::Julian);
        const QDate read = locale.toDate(text, format, julian);
        if (!read.isValid()) {
            return std::nullopt;
        }
        const QCalendar::YearMonthDay parts = julian.partsFromDate(read);
        const int year = parts.year < 1930 ? parts.year + 100 : parts.year;
        date = QDate(year, parts.month, parts.day);
    } else {
        date = locale.toDate(text, format);
    }
    if (!date.isValid() || date.year() < 1 || date.year() > 9999) {
        return std::nullopt;
    }
    return date;
}

QStringList localeDateFormats(const QLocale& locale) {
    static const QRegularExpression twoDigits(QStringLiteral("(?<!y)yy(?!y)"));
    QStringList formats;
    for (auto kind : {QLocale::ShortFormat, QLocale::LongFormat, QLocale::NarrowFormat}) {
        const QString format = locale.dateFormat(kind);
        if (hasTwoDigitYear(format)) {
            formats << QString(format).replace(twoDigits, QStringLiteral("yyyy"));
        }
        formats << format;
    }
    for (const char* format : kFixedDateFormats) {
        formats << QString::fromLatin1(format);
    }
    formats.removeDuplicates();
    return formats;
}

// 12-hour forms first: Qt reads the hour with the marker. Hours of 0 or 13 to 23 with a
// marker are read on the 24-hour clock afterwards.
const char* const kTwelveHourFormats[] = {"h:mm ap",   "h:mmap", "h:mm:ss ap",
                                          "h:mm:ssap", "h ap",   "hap"};
const char* const kTwentyFourHourFormats[] = {"H:mm", "H:mm:ss"};

} // namespace

std::optional<std::int32_t> roundedInt32(std::string_view text) {
    const std::optional<std::int64_t> value = decimalText::roundedScaled(text, 0);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(*value);
}

std::optional<double> readNumber(const std::string& text) {
    const QString number = QString::fromUtf8(text).trimmed();
    if (number.isEmpty()) {
        return std::nullopt;
    }
    if (auto value = finiteNumber(strictCLocale(), number)) {
        return value;
    }
    return finiteNumber(QLocale(), number);
}

std::optional<std::int64_t> readCurrencyUnits(const std::string& text) {
    const QLocale locale;
    QString amount = QString::fromUtf8(text).trimmed();
    if (amount.isEmpty()) {
        return std::nullopt;
    }
    bool negative = false;
    bool signTaken = false;
    if (amount.size() >= 2 && amount.front() == u'(' && amount.back() == u')') {
        negative = true;
        signTaken = true;
        amount = amount.mid(1, amount.size() - 2).trimmed();
        stripCurrencySymbol(locale, amount);
    } else if (!amount.isEmpty() && isSignChar(amount.front())) {
        // "-$5.00": the sign before the symbol belongs to the amount.
        QString rest = amount.mid(1).trimmed();
        if (stripCurrencySymbol(locale, rest)) {
            negative = isNegativeSign(amount.front());
            signTaken = true;
            amount = rest;
        }
    } else {
        stripCurrencySymbol(locale, amount);
    }
    if (amount.isEmpty() || (signTaken && isSignChar(amount.front()))) {
        return std::nullopt;
    }
    std::optional<std::string> number = plainNumberText(locale, amount);
    if (!number) {
        number = plainNumberText(strictCLocale(), amount);
    }
    if (!number) {
        return std::nullopt;
    }
    if (negative) {
        number->insert(0, 1, '-');
    }
    return decimalText::roundedScaled(*number, kCurrencyScale);
}

std::optional<QDate> readDate(const std::string& text) {
    const QString date = QString::fromUtf8(text).trimmed();
    if (date.isEmpty()) {
        return std::nullopt;
    }
    const QLocale c = QLocale::c();
    for (const char* format : kFixedDateFormats) {
        if (auto value = dateIn(c, date, QString::fromLatin1(format))) {
            return value;
        }
    }
    const QLocale system;
    for (const QString& format : localeDateFormats(system)) {
        if (auto value = dateIn(system, date, format)) {
            return value;
        }
    }
    return std::nullopt;
}

std::optional<QTime> readTime(const std::string& text) {
    QString time = QString::fromUtf8(text).trimmed();
    if (time.isEmpty()) {
        return std::nullopt;
    }
    // A lone "a" or "p" after a blank stands for "am" or "pm".
    if (time.size() >= 2 && time[time.size() - 2] == u' ') {
        const QChar last = time.back().toLower();
        if (last == u'a' || last == u'p') {
            time += u'm';
        }
    }
    const QLocale c = QLocale::c();
    for (const char* format : kTwelveHourFormats) {
        const QTime value = c.toTime(time, QString::fromLatin1(format));
        if (value.isValid()) {
            return value;
        }
    }
    QString clock = time;
    std::optional<bool> afternoon;
    if (clock.endsWith(QStringLiteral("am"), Qt::CaseInsensitive) ||
        clock.endsWith(QStringLiteral("pm"), Qt::CaseInsensitive)) {
        afternoon = clock[clock.size() - 2].toLower() == u'p';
        clock.chop(2);
        clock = clock.trimmed();
    }
    for (const char* format : kTwentyFourHourFormats) {
        QTime value = c.toTime(clock, QString::fromLatin1(format));
        if (!value.isValid()) {
            continue;
        }
        if (afternoon && value.hour() >= 1 && value.hour() <= 12) {
            const int hour = value.hour() % 12 + (*afternoon ? 12 : 0);
            value = QTime(hour, value.minute(), value.second());
        }
        return value;
    }
    return std::nullopt;
}

} // namespace quorvane::fieldReadings
