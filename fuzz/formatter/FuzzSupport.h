#pragma once

// Shared by the formatter's fuzz targets. An input is a 4-byte header and the text:
//   byte 0  flags (every bit, so unknown bits are exercised too)
//   byte 1  bits 0-1 locale (C, en_US, de_DE, en_GB), bit 2 minimum given, bit 3 maximum
//   byte 2  decimal places, low byte; integer targets: index of the minimum
//   byte 3  decimal places, high byte; integer targets: index of the maximum
//   rest    the text, as typed into a field (UTF-8 or not)
// A short input reads as zeros for the missing header bytes and an empty text.

#include "formatter/Formatter.h"
#include "platform/Dialogs.h"
#include "platform/Label.h"
#include "platform/TextField.h"

#include <QLocale>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace quorvane::fuzzing {

struct FuzzInput {
    std::int32_t flags = 0;
    QLocale locale;
    std::optional<double> minimum;
    std::optional<double> maximum;
    std::int16_t places = 0;
    std::string text;
};

inline FuzzInput decode(const std::uint8_t* data, std::size_t size) {
    std::uint8_t header[4] = {0, 0, 0, 0};
    for (std::size_t i = 0; i < 4 && i < size; ++i) {
        header[i] = data[i];
    }
    static const double bounds[16] = {0,          64,  200,  86400, -1,    -2147483648.0,
                                      2147483647, 0.5, 2.5,  -2.5,  1e300, -1e300,
                                      1,          3,   1000, 1e-300};
    static const QLocale locales[4] = {QLocale::c(),
                                       QLocale(QLocale::English, QLocale::UnitedStates),
                                       QLocale(QLocale::German, QLocale::Germany),
                                       QLocale(QLocale::English, QLocale::UnitedKingdom)};
    FuzzInput input;
    input.flags = header[0];
    input.locale = locales[header[1] & 3];
    if (header[1] & 4) {
        input.minimum = bounds[header[2] & 15];
    }
    if (header[1] & 8) {
        input.maximum = bounds[header[3] & 15];
    }
    input.places = static_cast<std::int16_t>(header[2] | (header[3] << 8));
    if (size > 4) {
        input.text.assign(reinterpret_cast<const char*>(data) + 4, size - 4);
    }
    return input;
}

[[noreturn]] inline void fail(const char* what, const std::string& text) {
    std::fprintf(stderr, "%s: «%s»\n", what, text.c_str());
    std::abort();
}

inline void require(bool condition, const char* what, const std::string& text) {
    if (!condition) {
        fail(what, text);
    }
}

inline bool isValidUtf8(const std::string& text) {
    return QString::fromUtf8(text).toUtf8().toStdString() == text;
}

class NullDialogs : public Dialogs {
public:
    void showMessage(const std::string& text, const std::string&, MessageIcon) override {
        lastMessage = text;
        ++shown;
    }
    void beep() override { ++beeps; }
    bool isMessageOpen() const override { return false; }
    std::string lastMessage;
    int shown = 0;
    int beeps = 0;
};

class PlainField : public TextField {
public:
    explicit PlainField(std::string text) : m_text(std::move(text)) {}
    std::string text() const override { return m_text; }
    void setText(const std::string& text) override { m_text = text; }
    void setSelection(int, int) override {}
    void setBackground(Color) override {}
    void setForeground(Color) override {}
    void setFocus() override { ++focusRequests; }
    void onChanged(std::function<void()>) override {}
    void onGotFocus(std::function<void()>) override {}
    void onLostFocus(std::function<void()>) override {}
    int focusRequests = 0;

private:
    std::string m_text;
};

class PlainLabel : public Label {
public:
    std::string caption() const override { return m_caption; }
    void setCaption(const std::string& caption) override { m_caption = caption; }

private:
    std::string m_caption;
};

// Sets the system locale for one input.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(QLocale::c()); }
};

// Runs a text check and its field operation on the same input and holds them to what
// every pair promises: the field gets the check's text when accepted and keeps its own
// when refused, a refusal is reported as the flags ask, and a written text, checked
// again, is accepted unchanged. Returns the check's text when accepted.
template <typename Check, typename FieldOperation>
std::optional<std::string> checkPair(const FuzzInput& input, Check check,
                                     FieldOperation fieldOperation, bool stable = true) {
    using namespace modFormatterConstants;
    NullDialogs dialogs;
    Formatter formatter(dialogs);

    std::string text = input.text;
    const bool accepted = check(formatter, text, input.flags);
    if (!accepted) {
        require(text == input.text, "refused text rewritten", input.text);
    }
    if (input.text.empty() && !(input.flags & fmtRequired)) {
        require(accepted, "empty optional text refused", input.text);
    }

    PlainField field(input.text);
    const bool fieldAccepted = fieldOperation(formatter, field, input.flags);
    require(fieldAccepted == accepted, "field operation and check disagree", input.text);
    require(field.text() == (accepted ? text : input.text), "field text wrong", input.text);
    const bool reported = !accepted && (input.flags & fmtShowMessage);
    require(dialogs.shown == (reported ? 1 : 0), "message box count", input.text);
    require(!reported || !dialogs.lastMessage.empty(), "empty message", input.text);
    require(dialogs.beeps == (!accepted && (input.flags & fmtBeep) ? 1 : 0), "beep count",
            input.text);
    require(field.focusRequests == (!accepted && (input.flags & fmtSetFocus) ? 1 : 0),
            "focus count", input.text);

    if (!accepted) {
        return std::nullopt;
    }
    require(isValidUtf8(text) || text == input.text, "written text not UTF-8", input.text);
    if (stable && !text.empty()) {
        std::string again = text;
        require(check(formatter, again, input.flags), "written text refused", input.text);
        require(again == text, "written text changed when checked again", input.text);
    }
    return text;
}

} // namespace quorvane::fuzzing
