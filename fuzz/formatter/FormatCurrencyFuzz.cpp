// Fuzzes Formatter::FormatCurrency, FormatCurrencyField and FormattedCurrencyString.
#include "FuzzSupport.h"

#include <cmath>
#include <cstring>

using namespace quorvane;
using namespace quorvane::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzInput input = decode(data, size);
    LocaleScope scope(input.locale);
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
    return 0;
}
