#include "formatter/Formatter.h"

#include "formatter/FieldReadings.h"
#include "platform/Dialogs.h"
#include "platform/Label.h"
#include "platform/TextField.h"
#include "util/DecimalText.h"

#include <QLocale>
#include <QString>

#include <cmath>
#include <cstdio>

namespace quorvane {

using namespace modFormatterConstants;

namespace {

const std::string kIntegerInvalid = "Anything in this field must be an integer.";
const std::string kIntegerRequired = "This field requires an integer.";
const std::string kCurrencyInvalid = "Anything in this field must be a dollar amount.";
const std::string kCurrencyRequired = "This field requires a dollar amount.";
const std::string kDateInvalid = "Anything in this field must be a date.";
const std::string kDateRequired = "This field requires a date.";
const std::string kTimeInvalid = "Anything in this field must be a time.";
const std::string kTimeRequired = "This field requires a time.";
const std::string kSSNInvalid = "Anything in this field must be a social security number.";
const std::string kSSNRequired = "This field requires a social security number.";
const std::string kZipInvalid = "Anything in this field must be a US zip code.";
const std::string kZipRequired = "This field requires a US zip code.";
const std::string kNameInvalid = "Anything in this field must be a person's name.  You can enter "
                                 "the name in any reasonable format.";
const std::string kNameRequired =
    "This field requires a person's name.  You can enter the name in any reasonable format.";
const std::string kNumberInvalid = "Anything in this field must be a number.  The number is "
                                   "allowed to have decimal places.";
const std::string kNumberRequired =
    "This field requires a number.  The number is allowed to have decimal places.";

bool isSet(std::int32_t lFlags, std::int32_t flag) {
    return (lFlags & flag) != 0;
}

bool emptyAndOptional(const std::string& text, std::int32_t lFlags) {
    return text.empty() && !isSet(lFlags, fmtRequired);
}

bool inRange(std::int32_t value, std::int32_t lFlags, const std::optional<double>& vMinValue,
             const std::optional<double>& vMaxValue) {
    if (!isSet(lFlags, fmtCheckRange)) {
        return true;
    }
    if (vMinValue && value < *vMinValue) {
        return false;
    }
    if (vMaxValue && value > *vMaxValue) {
        return false;
    }
    return true;
}

std::string toStd(const QString& text) {
    return text.toUtf8().toStdString();
}

// The locale's currency form of a whole number of cents, always with thousands
// separators, even where the locale (the C locale, for one) leaves them out of plain
// numbers. Qt writes currency only from a double, which holds no cents above some 10^13,
// so the locale's pattern is taken from the amount 1 and the digits are put in its place.
std::string currencyText(std::int64_t cents) {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    const bool negative = cents < 0;
    const std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
    const QString one = locale.toString(qlonglong{1});
    const QString pattern = locale.toCurrencyString(qlonglong{negative ? -1 : 1});
    const qsizetype at = pattern.lastIndexOf(one);
    const QString number = locale.toString(qulonglong{magnitude / 100}) + locale.decimalPoint() +
                           locale.toString(qulonglong{magnitude % 100 / 10}) +
                           locale.toString(qulonglong{magnitude % 10});
    if (at < 0) {
        return toStd(number);
    }
    return toStd(QString(pattern).replace(at, one.size(), number));
}

// The text FormatCurrency writes for an amount in units of 1/10000: rounded to cents,
// halves away from zero. Every such amount fits and reads back as itself.
std::string currencyFor(std::int64_t units, std::int32_t lFlags) {
    std::int64_t cents = units / 100;
    const std::int64_t rest = units % 100;
    if (rest >= 50) {
        ++cents;
    } else if (rest <= -50) {
        --cents;
    }
    // An amount that shows as zero counts as zero: otherwise «0.004» would be written
    // "$0.00" and that text emptied at the next check of the same field.
    if (cents == 0) {
        return isSet(lFlags, fmtShowZero) ? currencyText(0) : std::string();
    }
    return currencyText(cents);
}

// "-0.00" and "-0" say nothing a plain zero does not.
void dropNegativeZero(std::string& number) {
    if (number.empty() || number.front() != '-') {
        return;
    }
    if (number.find_first_of("123456789", 1) == std::string::npos) {
        number.erase(0, 1);
    }
}

// Plain digits for magnitudes from 0.0001 up to below 10^15, where they are never
// unreadably long; an exponent outside. Shortest digits that read back as the number.
std::string generalForm(double value) {
    const double magnitude = std::fabs(value);
    std::string text = magnitude == 0.0 || (magnitude >= 1e-4 && magnitude < 1e15)
                           ? decimalText::plainDigits(value)
                           : decimalText::exponentDigits(value);
    dropNegativeZero(text);
    return text;
}

// "0." + n "#" + "e-00": trailing zeros of the mantissa dropped, the point kept, the
// exponent signed only when negative and at least two digits long.
std::string scientificForm(double value, int places) {
    std::string text = decimalText::exponentDigits(value, places);
    const auto e = text.find('e');
    if (e == std::string::npos) {
        return text;
    }
    std::string mantissa = text.substr(0, e);
    std::string exponent = text.substr(e + 1);
    const auto lastDigit = mantissa.find_last_not_of('0');
    mantissa.erase(lastDigit + 1);
    if (mantissa.find('.') == std::string::npos) {
        mantissa += '.';
    }
    bool negativeExponent = false;
    if (!exponent.empty() && (exponent.front() == '+' || exponent.front() == '-')) {
        negativeExponent = exponent.front() == '-';
        exponent.erase(0, 1);
    }
    const auto firstSignificant = exponent.find_first_not_of('0');
    exponent =
        firstSignificant == std::string::npos ? std::string() : exponent.substr(firstSignificant);
    while (exponent.size() < 2) {
        exponent.insert(0, 1, '0');
    }
    if (exponent == "00") {
        negativeExponent = false;
    }
    dropNegativeZero(mantissa);
    return mantissa + "e" + (negativeExponent ? "-" : "") + exponent;
}

std::string digitsOf(const std::string& text) {
    std::string digits;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    return digits;
}

QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ') {
        ++first;
    }
    while (last > first && text[last - 1] == u' ') {
        --last;
    }
    return text.mid(first, last - first);
}

// The first character, a surrogate pair kept whole.
QString firstCharacter(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    if (text.size() >= 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate()) {
        return text.left(2);
    }
    return text.left(1);
}

QString capitalised(const QString& text) {
    const QString first = firstCharacter(text);
    return first.toUpper() + text.mid(first.size()).toLower();
}

} // namespace

Formatter::Formatter(Dialogs& dialogs) : m_dialogs(dialogs) {}

// ---- message and report shared by the field operations

bool Formatter::ResolveMessage(std::int32_t lFlags, std::string& sMessageText,
                               const std::string& sRequiredMessage,
                               const std::string& sInvalidMessage,
                               const std::optional<std::string>& sMessage, Label* cMessageControl) {
    if (!isSet(lFlags, fmtShowMessage)) {
        return false;
    }
    const bool bUseMessageBox = cMessageControl == nullptr;
    if (sMessage) {
        sMessageText = *sMessage;
    } else {
        sMessageText = isSet(lFlags, fmtRequired) ? sRequiredMessage : sInvalidMessage;
    }
    return bUseMessageBox;
}

void Formatter::ReportInvalidField(TextField& field, std::int32_t lFlags, bool bUseMessageBox,
                                   const std::string& sMessageText, Label* cMessageControl) {
    if (isSet(lFlags, fmtBeep)) {
        try {
            m_dialogs.beep();
        } catch (...) {
        }
    }
    if (isSet(lFlags, fmtShowMessage)) {
        try {
            if (bUseMessageBox) {
                m_dialogs.showMessage(sMessageText, "", MessageIcon::None);
            } else if (cMessageControl != nullptr) {
                cMessageControl->setCaption(sMessageText);
            }
        } catch (...) {
        }
    }
    if (isSet(lFlags, fmtSetFocus)) {
        try {
            field.setFocus();
        } catch (...) {
        }
    }
}

template <typename Check>
bool Formatter::ApplyToField(TextField& field, std::int32_t lFlags,
                             const std::string& sRequiredMessage,
                             const std::string& sInvalidMessage, Label* cMessageControl,
                             const std::optional<std::string>& sMessage, Check check) {
    std::string sMessageText;
    bool bUseMessageBox = false;
    try {
        bUseMessageBox = ResolveMessage(lFlags, sMessageText, sRequiredMessage, sInvalidMessage,
                                        sMessage, cMessageControl);
        std::string text = field.text();
        if (check(text)) {
            field.setText(text);
            return true;
        }
    } catch (...) {
        // A field that cannot be read or written counts as refused.
    }
    ReportInvalidField(field, lFlags, bUseMessageBox, sMessageText, cMessageControl);
    return false;
}

// ---- integers

bool Formatter::FormatLong(std::string& sLong, std::int32_t lFlags, std::optional<double> vMinValue,
                           std::optional<double> vMaxValue) {
    try {
        if (emptyAndOptional(sLong, lFlags)) {
            return true;
        }
        const auto value = fieldReadings::roundedInt32(sLong);
        return value && inRange(*value, lFlags, vMinValue, vMaxValue);
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatLongField(TextField& field, std::int32_t lFlags,
                                std::optional<double> vMinValue, std::optional<double> vMaxValue,
                                Label* cMessageControl, std::optional<std::string> sMessage) {
    return ApplyToField(
        field, lFlags, kIntegerRequired, kIntegerInvalid, cMessageControl, sMessage,
        [&](std::string& text) { return FormatLong(text, lFlags, vMinValue, vMaxValue); });
}

bool Formatter::FormatIntegerOnly(std::string& sText, std::int32_t lFlags,
                                  std::optional<double> vMinValue,
                                  std::optional<double> vMaxValue) {
    try {
        if (emptyAndOptional(sText, lFlags)) {
            return true;
        }
        if (sText.find_first_of(".eE") != std::string::npos) {
            return false;
        }
        const auto value = fieldReadings::roundedInt32(sText);
        return value && inRange(*value, lFlags, vMinValue, vMaxValue);
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatIntegerOnlyField(TextField& field, std::int32_t lFlags,
                                       std::optional<double> vMinValue,
                                       std::optional<double> vMaxValue, Label* cMessageControl,
                                       std::optional<std::string> sMessage) {
    return ApplyToField(
        field, lFlags, kIntegerRequired, kIntegerInvalid, cMessageControl, sMessage,
        [&](std::string& text) { return FormatIntegerOnly(text, lFlags, vMinValue, vMaxValue); });
}

// ---- currency

bool Formatter::FormatCurrency(std::string& vValue, std::int32_t lFlags) {
    try {
        if (emptyAndOptional(vValue, lFlags)) {
            if (isSet(lFlags, fmtShowZero)) {
                vValue = currencyText(0);
            }
            return true;
        }
        const auto units = fieldReadings::readCurrencyUnits(vValue);
        if (!units) {
            return false;
        }
        vValue = currencyFor(*units, lFlags);
        return true;
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatCurrency(double dValue, std::string& sCurrency, std::int32_t lFlags) {
    try {
        // The number's shortest digits, as if typed: 0.125 is an exact tie, 1.00005 too.
        if (!std::isfinite(dValue)) {
            return false;
        }
        const auto units = decimalText::roundedScaled(decimalText::exponentDigits(dValue),
                                                      fieldReadings::kCurrencyScale);
        if (!units) {
            return false;
        }
        sCurrency = currencyFor(*units, lFlags);
        return true;
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatCurrencyField(TextField& field, std::int32_t lFlags, Label* cMessageControl,
                                    std::optional<std::string> sMessage) {
    return ApplyToField(field, lFlags, kCurrencyRequired, kCurrencyInvalid, cMessageControl,
                        sMessage, [&](std::string& text) { return FormatCurrency(text, lFlags); });
}

std::string Formatter::FormattedCurrencyString(std::string vValue, std::int32_t lFlags) {
    return FormatCurrency(vValue, lFlags) ? vValue : std::string();
}

std::string Formatter::FormattedCurrencyString(double dValue, std::int32_t lFlags) {
    std::string text;
    return FormatCurrency(dValue, text, lFlags) ? text : std::string();
}

// ---- dates and times

bool Formatter::FormatDate(std::string& sDate, std::int32_t lFlags) {
    try {
        if (emptyAndOptional(sDate, lFlags)) {
            return true;
        }
        const auto date = fieldReadings::readDate(sDate);
        if (!date) {
            return false;
        }
        char text[16];
        std::snprintf(text, sizeof text, "%02d/%02d/%04d", date->month(), date->day(),
                      date->year());
        sDate = text;
        return true;
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatDateField(TextField& field, std::int32_t lFlags, Label* cMessageControl,
                                std::optional<std::string> sMessage) {
    return ApplyToField(field, lFlags, kDateRequired, kDateInvalid, cMessageControl, sMessage,
                        [&](std::string& text) { return FormatDate(text, lFlags); });
}

bool Formatter::FormatTime(std::string& sTime, std::int32_t lFlags) {
    try {
        if (emptyAndOptional(sTime, lFlags)) {
            return true;
        }
        const auto time = fieldReadings::readTime(sTime);
        if (!time) {
            return false;
        }
        // The text must say which half of the day it means.
        QString text = QString::fromUtf8(sTime);
        while (!text.isEmpty() && text.back() == u' ') {
            text.chop(1);
        }
        const QString marker = text.right(2).trimmed().toLower();
        if (marker != u"am" && marker != u"pm" && marker != u"a" && marker != u"p") {
            return false;
        }
        const int hour = time->hour() % 12 == 0 ? 12 : time->hour() % 12;
        char out[16];
        std::snprintf(out, sizeof out, "%02d:%02d %s", hour, time->minute(),
                      time->hour() < 12 ? "am" : "pm");
        sTime = out;
        return true;
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatTimeField(TextField& field, std::int32_t lFlags, Label* cMessageControl,
                                std::optional<std::string> sMessage) {
    return ApplyToField(field, lFlags, kTimeRequired, kTimeInvalid, cMessageControl, sMessage,
                        [&](std::string& text) { return FormatTime(text, lFlags); });
}

// ---- social security numbers and zip codes

bool Formatter::FormatSSN(std::string& sSSN, std::int32_t lFlags) {
    try {
        if (emptyAndOptional(sSSN, lFlags)) {
            return true;
        }
        const std::string digits = digitsOf(sSSN);
        if (digits.size() != 9) {
            return false;
        }
        sSSN = digits.substr(0, 3) + "-" + digits.substr(3, 2) + "-" + digits.substr(5);
        return true;
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatSSNField(TextField& field, std::int32_t lFlags, Label* cMessageControl,
                               std::optional<std::string> sMessage) {
    return ApplyToField(field, lFlags, kSSNRequired, kSSNInvalid, cMessageControl, sMessage,
                        [&](std::string& text) { return FormatSSN(text, lFlags); });
}

bool Formatter::FormatZip(std::string& sZip, std::int32_t lFlags) {
    try {
        if (emptyAndOptional(sZip, lFlags)) {
            return true;
        }
        const std::string digits = digitsOf(sZip);
        if (digits.size() == 5) {
            sZip = digits;
            return true;
        }
        if (digits.size() == 9) {
            sZip = digits.substr(0, 5) + "-" + digits.substr(5);
            return true;
        }
        return false;
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatZipField(TextField& field, std::int32_t lFlags, Label* cMessageControl,
                               std::optional<std::string> sMessage) {
    return ApplyToField(field, lFlags, kZipRequired, kZipInvalid, cMessageControl, sMessage,
                        [&](std::string& text) { return FormatZip(text, lFlags); });
}

// ---- fixed and scientific numbers

bool Formatter::FormatFixedNumeric(std::string& sNumber, std::int32_t lFlags,
                                   std::int16_t iDecimalPlaces) {
    try {
        if (emptyAndOptional(sNumber, lFlags)) {
            return true;
        }
        const auto value = fieldReadings::readNumber(sNumber);
        if (!value) {
            return false;
        }
        if (iDecimalPlaces > 0) {
            std::string text = decimalText::fixedDigits(*value, iDecimalPlaces);
            dropNegativeZero(text);
            sNumber = std::move(text);
        } else {
            sNumber = generalForm(*value);
        }
        return true;
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatFixedNumericField(TextField& field, std::int32_t lFlags,
                                        std::int16_t iDecimalPlaces, Label* cMessageControl,
                                        std::optional<std::string> sMessage) {
    return ApplyToField(
        field, lFlags, kNumberRequired, kNumberInvalid, cMessageControl, sMessage,
        [&](std::string& text) { return FormatFixedNumeric(text, lFlags, iDecimalPlaces); });
}

bool Formatter::FormatScientific(std::string& sNumber, std::int32_t lFlags,
                                 std::int16_t iDecimalPlaces) {
    try {
        if (emptyAndOptional(sNumber, lFlags)) {
            return true;
        }
        const auto value = fieldReadings::readNumber(sNumber);
        if (!value) {
            return false;
        }
        sNumber =
            iDecimalPlaces >= 1 ? scientificForm(*value, iDecimalPlaces) : generalForm(*value);
        return true;
    } catch (...) {
        return false;
    }
}

bool Formatter::FormatScientificField(TextField& field, std::int32_t lFlags,
                                      std::int16_t iDecimalPlaces, Label* cMessageControl,
                                      std::optional<std::string> sMessage) {
    return ApplyToField(
        field, lFlags, kNumberRequired, kNumberInvalid, cMessageControl, sMessage,
        [&](std::string& text) { return FormatScientific(text, lFlags, iDecimalPlaces); });
}

// ---- names

void Formatter::GetNameComponents(const std::string& sName, std::string& sFirstName,
                                  std::string& sMiddleInitial, std::string& sLastName) {
    try {
        const QString name = trimBlanks(QString::fromUtf8(sName));
        QString first;
        QString middle;
        QString last;
        const qsizetype comma = name.indexOf(u',');
        if (comma >= 0) {
            // Last, First Middle. Without any blank the whole text is the last name.
            if (!name.contains(u' ')) {
                last = name;
            } else {
                last = trimBlanks(name.left(comma));
                const QString rest = trimBlanks(name.mid(comma + 1));
                const qsizetype blank = rest.indexOf(u' ');
                if (blank < 0) {
                    first = rest;
                } else {
                    first = trimBlanks(rest.left(blank));
                    middle = firstCharacter(trimBlanks(rest.mid(blank + 1)));
                }
            }
        } else {
            // First Middle Last.
            const qsizetype firstBlank = name.indexOf(u' ');
            if (firstBlank < 0) {
                last = name;
            } else {
                const qsizetype lastBlank = name.lastIndexOf(u' ');
                first = trimBlanks(name.left(firstBlank));
                last = trimBlanks(name.mid(lastBlank + 1));
                if (firstBlank != lastBlank) {
                    middle = firstCharacter(
                        trimBlanks(name.mid(firstBlank + 1, lastBlank - firstBlank - 1)));
                }
            }
        }
        sFirstName = toStd(capitalised(first));
        sMiddleInitial = toStd(capitalised(middle));
        sLastName = toStd(capitalised(last));
    } catch (...) {
        sFirstName.clear();
        sMiddleInitial.clear();
        sLastName.clear();
    }
}

std::string Formatter::ComposeName(const std::string& sFirstName, const std::string& sMiddleInitial,
                                   const std::string& sLastName, bool& bLastNameFirst) {
    const QString initial = firstCharacter(QString::fromUtf8(sMiddleInitial));
    if (sLastName.empty()) {
        bLastNameFirst = false;
    }
    std::string name;
    if (bLastNameFirst) {
        name = sLastName;
        if (!(sFirstName + sMiddleInitial).empty()) {
            name += ", ";
        }
        name += sFirstName;
        if (!sMiddleInitial.empty()) {
            name += " " + toStd(initial) + ".";
        }
    } else {
        if (!sFirstName.empty()) {
            name = sFirstName + " ";
        }
        if (!sMiddleInitial.empty()) {
            name += toStd(initial) + ". ";
        }
        name += sLastName;
    }
    return name;
}

bool Formatter::FormatNameField(TextField& field, std::int32_t lFlags, Label* cMessageControl,
                                std::optional<std::string> sMessage) {
    std::string sMessageText;
    bool bUseMessageBox = false;
    try {
        bUseMessageBox = ResolveMessage(lFlags, sMessageText, kNameRequired, kNameInvalid, sMessage,
                                        cMessageControl);
        const std::string text = field.text();
        if (!(text.empty() && isSet(lFlags, fmtRequired))) {
            std::string first;
            std::string middle;
            std::string last;
            GetNameComponents(text, first, middle, last);
            bool bLastNameFirst = true;
            field.setText(ComposeName(first, middle, last, bLastNameFirst));
            return true;
        }
    } catch (...) {
        // A field that cannot be read or written counts as refused.
    }
    ReportInvalidField(field, lFlags, bUseMessageBox, sMessageText, cMessageControl);
    return false;
}

} // namespace quorvane
