// The INI engine on any bytes: reading never crashes or hangs, a value is one line's text
// without outer blanks, the caller's names match without regard to ASCII case and lose their
// spaces, and every function copes with whatever content and names it is given.

#include "fuzz/FuzzCheck.h"
#include "ini/IniEngine.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace ini;

namespace {

void require(bool holds, const char* property) {
    requireProperty(holds, "INI reader", property);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const QByteArray section = bytes(input.ConsumeRandomLengthString(16));
    const QByteArray key = bytes(input.ConsumeRandomLengthString(16));
    const QByteArray content = bytes(input.ConsumeRemainingBytesAsString());

    const std::optional<QByteArray> value = findValue(content, section, key);
    require(value == findValue(content, ' ' + section.toUpper() + "  ", key.toLower() + ' '),
            "names depend on ASCII case or spaces");
    if (value) {
        require(content.contains(*value), "a value that the content does not hold");
        require(!value->contains('\r') && !value->contains('\n'), "a value spans lines");
        // Blanks may only stand at a value's ends when a pair of quotes held them.
        const bool blankEnd =
            !value->isEmpty() && (isBlank(value->front()) || isBlank(value->back()));
        require(!blankEnd || content.contains('"') || content.contains('\''), "value not trimmed");
        parseInteger(*value);
    }
    withEntry(content, section, key, value);
    withEntry(content, section, key, std::nullopt);
    return 0;
}
