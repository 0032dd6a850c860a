#pragma once

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <cstring>
#include <string>

namespace quorvane::testing {

// Runs each test under de_DE.UTF-8 as the program meets it: CTest sets LANG and LC_ALL
// (tests whose suite name holds "GermanLocale"), and the process locale is taken from
// them as QApplication does with setlocale(LC_ALL, ""). A locale without a decimal comma
// would prove nothing: in CI (CI set) that fails the test, elsewhere it is skipped.
template <typename Base = ::testing::Test> class UnderGermanLocale : public Base {
protected:
    void SetUp() override {
        const char* current = std::setlocale(LC_ALL, nullptr);
        m_saved = current != nullptr ? current : "C";
        if (std::setlocale(LC_ALL, "") == nullptr || !hasDecimalComma()) {
            std::setlocale(LC_ALL, "de_DE.UTF-8");
        }
        if (!hasDecimalComma()) {
            std::setlocale(LC_ALL, m_saved.c_str());
            if (std::getenv("CI") != nullptr) {
                FAIL() << "the de_DE.UTF-8 locale is missing (scripts/install-deps.sh "
                          "generates it)";
            }
            GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
        }
    }
    void TearDown() override { std::setlocale(LC_ALL, m_saved.c_str()); }

    static bool hasDecimalComma() {
        return std::strcmp(std::localeconv()->decimal_point, ",") == 0;
    }

private:
    std::string m_saved;
};

} // namespace quorvane::testing
