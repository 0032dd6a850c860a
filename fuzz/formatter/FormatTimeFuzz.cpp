// Fuzzes Formatter::FormatTime and FormatTimeField.
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
            return f.FormatTime(text, flags);
        },
        [](Formatter& f, TextField& field, std::int32_t flags) {
            return f.FormatTimeField(field, flags);
        });
    static const QRegularExpression form(QStringLiteral("^(0[1-9]|1[0-2]):[0-5]\\d [ap]m$"));
    require(!result || result->empty() || form.match(QString::fromStdString(*result)).hasMatch(),
            "time not hh:mm am/pm", input.text);
    return 0;
}
