// Fuzzes Formatter::FormatNameField and GetNameComponents.
#include "FuzzSupport.h"

using namespace quorvane;
using namespace quorvane::fuzzing;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FuzzInput input = decode(data, size);
    LocaleScope scope(input.locale);
    NullDialogs dialogs;
    Formatter formatter(dialogs);

    std::string first;
    std::string middle;
    std::string last;
    formatter.GetNameComponents(input.text, first, middle, last);
    for (const std::string* part : {&first, &middle, &last}) {
        require(isValidUtf8(*part), "name part not UTF-8", input.text);
    }

    PlainField field(input.text);
    const bool accepted = formatter.FormatNameField(field, input.flags);
    const bool refusable = input.text.empty() && (input.flags & modFormatterConstants::fmtRequired);
    require(accepted != refusable, "name refused or accepted wrongly", input.text);
    require(accepted || field.text() == input.text, "refused name rewritten", input.text);
    require(!accepted || isValidUtf8(field.text()), "name not UTF-8", input.text);
    return 0;
}
