// Fuzzes Formatter::FormatSSN and FormatSSNField.
#include "FuzzSupport.h"

#include <QRegularExpression>

using namespace quorvane;
using namespace quorvane::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzInput input = decode(data, size);
    LocaleScope scope(input.locale);
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
    return 0;
}
