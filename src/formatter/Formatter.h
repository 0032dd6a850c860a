#pragma once

#include "formatter/FormatterConstants.h"

#include <cstdint>
#include <optional>
#include <string>

namespace quorvane {

class Dialogs;
class Label;
class TextField;

// Checks and normalises the text of entry fields. Each kind of entry has a text check
// (true = accepted; an accepted text may be rewritten into its canonical form) and a
// field operation that applies the check to a field and, on refusal, beeps, shows a
// message and gives the focus back as the flags (modFormatterConstants) ask. A refused
// field keeps its text. Nothing here throws to the caller. The class keeps no state, so
// one instance serves every field.
//
// Texts are UTF-8. "System locale" means QLocale() (QLocale::system() unless
// QLocale::setDefault was called). Readings come from QtCore (QLocale, QDate, QTime):
//
// - Integers (FormatLong, FormatIntegerOnly): the program's own grammar only: blanks,
//   optional "+"/"-", digits with at most one ".", optional exponent, blanks: «+7», « 7 »,
//   «1e3», «2.5». No thousands separators, no locale forms. 32-bit range; FormatLong
//   rounds half to even («2.5» counts as 2) from the typed digits, not from a double
//   («2147483647.49999999999» counts as 2147483647), and leaves the text as typed.
// - Numbers (FormatFixedNumeric, FormatScientific): the C locale without thousands
//   separators («3.14159», «.5», «-1.5e3», «1.e02»), else the system locale with its
//   separators («1,234.5» under en_US, «1.234,5» under de_DE). The C reading comes
//   first so that written forms read back unchanged. Infinities and NaN are refused.
// - Currency: the system locale's own amount form («$1,234.50», «($5.00)», «-$5»,
//   «USD 5» under en_US), or a number in the system locale, then in the C locale. The
//   amount is read from its typed digits into 64-bit units of 1/10000 (ties to even),
//   never through a double; what does not fit is refused («922,337,203,685,477.58» at
//   most). A number (the double overloads) counts with its shortest digits. Written as
//   the system locale's currency form with thousands separators and two decimals (ties
//   away from zero): «$1,234.50» under en_US, «1,234.50» under C. An amount that shows
//   as $0.00 is the zero amount (empty unless fmtShowZero).
// - Dates: «12/25/2026», «12/25/26» (00-29 are 20xx; «2/29/00» is 2000), «12-25-2026»,
// «2026-12-25»,
//   «2026/12/25», «Dec 25 2026», «Dec 25, 2026», «December 25 2026», «25 Dec 2026»,
//   «25-Dec-2026» (English month names, any letter case), then the system locale's short,
//   long and narrow forms and the same month-name forms in its language. Month-first
//   comes before the locale's forms so that the written "mm/dd/yyyy" reads back as the
//   same date under every locale. Years 1 to 9999.
// - Times: «2:05 pm», «2:05pm», «2:05 PM», «2:05 p», «2:05:30 pm», «2 pm», «2pm», and
//   the 24-hour «14:05», «14:05:30»; a marker after an hour of 0 or 13 to 23 changes
//   nothing («14:05 pm» is 14:05). No date part. FormatTime still refuses a text without
//   "am"/"pm" (or a blank and "a"/"p") at its end, so «14:05» reads but is refused.
//
// Canonical forms: "mm/dd/yyyy"; "hh:mm am/pm" (seconds dropped); "123-45-6789"; "12345"
// or "12345-6789"; fixed decimals with "." («0.50»); scientific «1.23e04», «1.2e-04»,
// «1.e02»; general form (n <= 0) as the shortest digits that read back as the number, in
// plain digits from 0.0001 up to below 10^15 («3.14159», «100000»), else with an exponent
// («1e+15», «1e-05»). Everything written has a "." whatever the C, C++ or Qt locale.
class Formatter {
public:
    explicit Formatter(Dialogs& dialogs);

    // Integers.
    bool FormatLong(std::string& sLong, std::int32_t lFlags,
                    std::optional<double> vMinValue = std::nullopt,
                    std::optional<double> vMaxValue = std::nullopt);
    bool FormatLongField(TextField& field, std::int32_t lFlags,
                         std::optional<double> vMinValue = std::nullopt,
                         std::optional<double> vMaxValue = std::nullopt,
                         Label* cMessageControl = nullptr,
                         std::optional<std::string> sMessage = std::nullopt);
    bool FormatIntegerOnly(std::string& sText, std::int32_t lFlags,
                           std::optional<double> vMinValue = std::nullopt,
                           std::optional<double> vMaxValue = std::nullopt);
    bool FormatIntegerOnlyField(TextField& field, std::int32_t lFlags,
                                std::optional<double> vMinValue = std::nullopt,
                                std::optional<double> vMaxValue = std::nullopt,
                                Label* cMessageControl = nullptr,
                                std::optional<std::string> sMessage = std::nullopt);

    // Currency amounts. The number overload writes the amount's text into sCurrency.
    bool FormatCurrency(std::string& vValue, std::int32_t lFlags);
    bool FormatCurrency(double dValue, std::string& sCurrency, std::int32_t lFlags);
    bool FormatCurrencyField(TextField& field, std::int32_t lFlags,
                             Label* cMessageControl = nullptr,
                             std::optional<std::string> sMessage = std::nullopt);
    // The amount as FormatCurrency writes it, or "" when FormatCurrency refuses it.
    std::string FormattedCurrencyString(std::string vValue, std::int32_t lFlags);
    std::string FormattedCurrencyString(double dValue, std::int32_t lFlags);

    // Dates and times of day.
    bool FormatDate(std::string& sDate, std::int32_t lFlags);
    bool FormatDateField(TextField& field, std::int32_t lFlags, Label* cMessageControl = nullptr,
                         std::optional<std::string> sMessage = std::nullopt);
    bool FormatTime(std::string& sTime, std::int32_t lFlags);
    bool FormatTimeField(TextField& field, std::int32_t lFlags, Label* cMessageControl = nullptr,
                         std::optional<std::string> sMessage = std::nullopt);

    // Social security numbers and US zip codes: the digits count, everything else is
    // ignored.
    bool FormatSSN(std::string& sSSN, std::int32_t lFlags);
    bool FormatSSNField(TextField& field, std::int32_t lFlags, Label* cMessageControl = nullptr,
                        std::optional<std::string> sMessage = std::nullopt);
    bool FormatZip(std::string& sZip, std::int32_t lFlags);
    bool FormatZipField(TextField& field, std::int32_t lFlags, Label* cMessageControl = nullptr,
                        std::optional<std::string> sMessage = std::nullopt);

    // Numbers with a fixed count of decimal places, or in scientific notation with at
    // most that many; iDecimalPlaces < 1 (fixed: <= 0) writes the general form.
    bool FormatFixedNumeric(std::string& sNumber, std::int32_t lFlags, std::int16_t iDecimalPlaces);
    bool FormatFixedNumericField(TextField& field, std::int32_t lFlags, std::int16_t iDecimalPlaces,
                                 Label* cMessageControl = nullptr,
                                 std::optional<std::string> sMessage = std::nullopt);
    bool FormatScientific(std::string& sNumber, std::int32_t lFlags, std::int16_t iDecimalPlaces);
    bool FormatScientificField(TextField& field, std::int32_t lFlags, std::int16_t iDecimalPlaces,
                               Label* cMessageControl = nullptr,
                               std::optional<std::string> sMessage = std::nullopt);

    // Persons' names: rewritten as "Last, First M."; only an empty required text is
    // refused.
    bool FormatNameField(TextField& field, std::int32_t lFlags, Label* cMessageControl = nullptr,
                         std::optional<std::string> sMessage = std::nullopt);
    // Splits "First Middle Last" or "Last, First Middle"; each part capitalised, the
    // middle name cut to its initial.
    void GetNameComponents(const std::string& sName, std::string& sFirstName,
                           std::string& sMiddleInitial, std::string& sLastName);

private:
    // The message to show for a refusal, and whether it goes to a message box (no
    // message control given). False, and no text, when fmtShowMessage is clear.
    bool ResolveMessage(std::int32_t lFlags, std::string& sMessageText,
                        const std::string& sRequiredMessage, const std::string& sInvalidMessage,
                        const std::optional<std::string>& sMessage, Label* cMessageControl);
    // Beep, message and focus as the flags ask; a failing step does not stop the others.
    void ReportInvalidField(TextField& field, std::int32_t lFlags, bool bUseMessageBox,
                            const std::string& sMessageText, Label* cMessageControl);
    std::string ComposeName(const std::string& sFirstName, const std::string& sMiddleInitial,
                            const std::string& sLastName, bool& bLastNameFirst);

    // The common shape of a field operation around one text check.
    template <typename Check>
    bool ApplyToField(TextField& field, std::int32_t lFlags, const std::string& sRequiredMessage,
                      const std::string& sInvalidMessage, Label* cMessageControl,
                      const std::optional<std::string>& sMessage, Check check);

    Dialogs& m_dialogs;
};

} // namespace quorvane
