#pragma once

// What each Formatter text check must hold to, one function per check; the per-check
// targets run one, fuzz_formatter runs them all on every input.

#include "FuzzSupport.h"
#include "IntegerOracle.h"

#include <QRegularExpression>

#include <cmath>
#include <cstring>

namespace quorvane::fuzzing {

// Fuzzes Formatter::FormatLong and FormatLongField against an independent reading.
inline void fuzzLong(const FuzzInput& input) {
    const auto result = checkPair(
        input,
        [&](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatLong(text, flags, input.minimum, input.maximum);
        },
        [&](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatLongField(field, flags, input.minimum, input.maximum);
        });
    require(!result || *result == input.text, "integer text rewritten", input.text);

    bool expected = false;
    if (input.text.empty() && !(input.flags & modFormatterConstants::fmtRequired)) {
        expected = true;
    } else if (const auto value = expectedInteger(input.text, false)) {
        expected = expectedInRange(*value, input.flags, input.minimum, input.maximum);
    }
    require(result.has_value() == expected, "acceptance differs from the exact reading",
            input.text);
}

// Fuzzes Formatter::FormatIntegerOnly and FormatIntegerOnlyField against an independent reading.
inline void fuzzIntegerOnly(const FuzzInput& input) {
    const auto result = checkPair(
        input,
        [&](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatIntegerOnly(text, flags, input.minimum, input.maximum);
        },
        [&](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatIntegerOnlyField(field, flags, input.minimum, input.maximum);
        });
    require(!result || *result == input.text, "integer text rewritten", input.text);

    bool expected = false;
    if (input.text.empty() && !(input.flags & modFormatterConstants::fmtRequired)) {
        expected = true;
    } else if (const auto value = expectedInteger(input.text, true)) {
        expected = expectedInRange(*value, input.flags, input.minimum, input.maximum);
    }
    require(result.has_value() == expected, "acceptance differs from the exact reading",
            input.text);
}

// Fuzzes Formatter::FormatCurrency, FormatCurrencyField and FormattedCurrencyString.
inline void fuzzCurrency(const FuzzInput& input) {
    const auto result = checkPair(
        input,
        [](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatCurrency(text, flags);
        },
        [](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatCurrencyField(field, flags);
        });
    NullDialogs dialogs;
    Formatter formatter(dialogs);
    require(formatter.FormattedCurrencyString(input.text, input.flags) == result.value_or(""),
            "FormattedCurrencyString differs from FormatCurrency", input.text);
    // Plain amounts in the C locale: every typed digit counts, up to the 64-bit range
    // ("$" would also match before a final line break).
    static const QRegularExpression plain(QStringLiteral("^-?\\d{1,30}(\\.\\d{1,30})?\\z"));
    if (input.locale == QLocale::c() &&
        plain.match(QString::fromStdString(input.text)).hasMatch()) {
        const bool showZero = (input.flags & modFormatterConstants::fmtShowZero) != 0;
        require(result == expectedCurrencyInC(input.text, showZero),
                "amount differs from the exact reading", input.text);
    }
    if (input.text.size() >= 8) {
        double number = 0;
        std::memcpy(&number, input.text.data(), sizeof number);
        const std::string text = formatter.FormattedCurrencyString(number, input.flags);
        require(std::isfinite(number) || text.empty(), "non-finite amount written", input.text);
        if (!text.empty()) {
            std::string again = text;
            require(formatter.FormatCurrency(again, input.flags) && again == text,
                    "written amount changed when checked again", text);
        }
    }
}

// Fuzzes Formatter::FormatDate and FormatDateField.
inline void fuzzDate(const FuzzInput& input) {
    const auto result = checkPair(
        input,
        [](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatDate(text, flags);
        },
        [](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatDateField(field, flags);
        });
    static const QRegularExpression form(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d\\d\\d$"));
    require(!result || result->empty() || form.match(QString::fromStdString(*result)).hasMatch(),
            "date not mm/dd/yyyy", input.text);
}

// Fuzzes Formatter::FormatTime and FormatTimeField.
inline void fuzzTime(const FuzzInput& input) {
    const auto result = checkPair(
        input,
        [](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatTime(text, flags);
        },
        [](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatTimeField(field, flags);
        });
    static const QRegularExpression form(QStringLiteral("^(0[1-9]|1[0-2]):[0-5]\\d [ap]m$"));
    require(!result || result->empty() || form.match(QString::fromStdString(*result)).hasMatch(),
            "time not hh:mm am/pm", input.text);
}

// Fuzzes Formatter::FormatSSN and FormatSSNField.
inline void fuzzSSN(const FuzzInput& input) {
    const auto result = checkPair(
        input,
        [](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatSSN(text, flags);
        },
        [](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatSSNField(field, flags);
        });
    static const QRegularExpression form(QStringLiteral("^\\d{3}-\\d{2}-\\d{4}$"));
    require(!result || result->empty() || form.match(QString::fromStdString(*result)).hasMatch(),
            "not a social security number", input.text);
}

// Fuzzes Formatter::FormatZip and FormatZipField.
inline void fuzzZip(const FuzzInput& input) {
    const auto result = checkPair(
        input,
        [](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatZip(text, flags);
        },
        [](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatZipField(field, flags);
        });
    static const QRegularExpression form(QStringLiteral("^\\d{5}(-\\d{4})?$"));
    require(!result || result->empty() || form.match(QString::fromStdString(*result)).hasMatch(),
            "not a zip code", input.text);
}

// Fuzzes Formatter::FormatFixedNumeric and FormatFixedNumericField.
inline void fuzzFixedNumeric(const FuzzInput& input) {
    const auto result = checkPair(
        input,
        [&](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatFixedNumeric(text, flags, input.places);
        },
        [&](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatFixedNumericField(field, flags, input.places);
        });
    if (result && !result->empty() && input.places > 0) {
        const auto point = result->find('.');
        require(point != std::string::npos && point > 0 &&
                    result->size() - point - 1 == static_cast<std::size_t>(input.places),
                "not n decimal places", input.text);
    }
}

// Fuzzes Formatter::FormatScientific and FormatScientificField.
inline void fuzzScientific(const FuzzInput& input) {
    const auto result = checkPair(
        input,
        [&](Formatter& f, std::string& text, std::int32_t flags) {
            return f.FormatScientific(text, flags, input.places);
        },
        [&](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatScientificField(field, flags, input.places);
        });
    if (result && !result->empty() && input.places >= 1) {
        // One digit before the point (zero only for zero), at most n after it without
        // trailing zeros, the exponent signed only when negative, two digits at least.
        static const QRegularExpression form(
            QStringLiteral("^(-?[1-9]\\.(\\d*[1-9])?e(-?[1-9]\\d+|-?0[1-9]|00)|0\\.e00)$"));
        const QString text = QString::fromStdString(*result);
        require(form.match(text).hasMatch(), "not 0.##e-00", input.text);
        const auto point = result->find('.');
        const auto e = result->find('e');
        require(e - point - 1 <= static_cast<std::size_t>(input.places), "too many digits",
                input.text);
    }
}

// Fuzzes Formatter::FormatNameField and GetNameComponents.
inline void fuzzName(const FuzzInput& input) {
    NullDialogs dialogs;
    Formatter formatter(dialogs);

    std::string first;
    std::string middle;
    std::string last;
    formatter.GetNameComponents(input.text, first, middle, last);
    for (const std::string* part : {&first, &middle, &last}) {
        require(isValidUtf8(*part), "name part not UTF-8", input.text);
    }

    PlainField field(input.text);
    const bool accepted = formatter.FormatNameField(field, input.flags);
    const bool refusable = input.text.empty() && (input.flags & modFormatterConstants::fmtRequired);
    require(accepted != refusable, "name refused or accepted wrongly", input.text);
    require(accepted || field.text() == input.text, "refused name rewritten", input.text);
    require(!accepted || isValidUtf8(field.text()), "name not UTF-8", input.text);
}

inline void fuzzEveryCheck(const FuzzInput& input) {
    fuzzLong(input);
    fuzzIntegerOnly(input);
    fuzzCurrency(input);
    fuzzDate(input);
    fuzzTime(input);
    fuzzSSN(input);
    fuzzZip(input);
    fuzzFixedNumeric(input);
    fuzzScientific(input);
    fuzzName(input);
}

} // namespace quorvane::fuzzing
