// Fuzzes Formatter::FormatDate and FormatDateField.
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
            return f.FormatDate(text, flags);
        },
        [](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatDateField(field, flags);
        });
    static const QRegularExpression form(QStringLiteral("^\\d\\d/\\d\\d/\\d\\d\\d\\d$"));
    require(!result || result->empty() || form.match(QString::fromStdString(*result)).hasMatch(),
            "date not mm/dd/yyyy", input.text);
    return 0;
}
