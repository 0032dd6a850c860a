// Fuzzes Formatter::FormatScientific and FormatScientificField.
#include "FuzzSupport.h"

#include <QRegularExpression>

using namespace quorvane;
using namespace quorvane::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzInput input = decode(data, size);
    LocaleScope scope(input.locale);
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
    return 0;
}
