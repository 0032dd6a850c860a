#pragma once

#include "fakes/FakeDialogs.h"
#include "fakes/FakeLabel.h"
#include "fakes/FakeTextField.h"
#include "formatter/Formatter.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <string>

namespace quorvane::testing {

// The locales every table runs under: the readings and the currency form depend on them.
enum class TestLocale { C, EnUS };

inline QLocale qlocaleOf(TestLocale locale) {
    return locale == TestLocale::C ? QLocale::c()
                                   : QLocale(QLocale::English, QLocale::UnitedStates);
}

inline const char* nameOf(TestLocale locale) {
    return locale == TestLocale::C ? "C" : "en_US";
}

// Sets the system locale of the Formatter for one test and restores it afterwards.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& locale) : m_saved(QLocale()) {
        QLocale::setDefault(locale);
    }
    ~LocaleScope() { QLocale::setDefault(m_saved); }
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;

private:
    QLocale m_saved;
};

// Everything a field operation touches.
struct FieldRig {
    fakes::FakeDialogs dialogs;
    fakes::FakeTextField field;
    fakes::FakeLabel label;
    Formatter formatter{dialogs};
    int changes = 0;

    explicit FieldRig(std::string text = {}) : field(std::move(text)) {
        field.onChanged([this] { ++changes; });
    }
};

// Test names: letters and digits only.
inline std::string sanitisedName(const std::string& text) {
    std::string name;
    for (char c : text) {
        const bool alnum =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        name += alnum ? c : '_';
    }
    return name.empty() ? "empty" : name;
}

} // namespace quorvane::testing
