// Fuzzes Formatter::FormatZip and FormatZipField.
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
            return f.FormatZip(text, flags);
        },
        [](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatZipField(field, flags);
        });
    static const QRegularExpression form(QStringLiteral("^\\d{5}(-\\d{4})?$"));
    require(!result || result->empty() || form.match(QString::fromStdString(*result)).hasMatch(),
            "not a zip code", input.text);
    return 0;
}
