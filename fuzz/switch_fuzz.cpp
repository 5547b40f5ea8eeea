// The switch reader on any command line: the value is upper case, trimmed, holds no "/", is
// empty when the name does not occur, and otherwise is the text after the first occurrence of
// the name and one separator character, cut at the next "/". The name occurs where as many
// characters as it has read, upper-cased, as the upper-cased name. Switch names are the
// program's own ASCII words; the command line is any text.

#include "env/StartMode.h"
#include "support/ScriptedPlatform.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace {

QString expectedValue(const QString& line, const QString& name) {
    const QString upperName = name.toUpper();
    for (qsizetype at = 0; at + name.size() <= line.size(); ++at) {
        if (line.mid(at, name.size()).toUpper() != upperName)
            continue;
        QString value = line.mid(at + name.size() + 1);
        const qsizetype slash = value.indexOf(QLatin1Char('/'));
        if (slash >= 0)
            value.truncate(slash);
        return value.trimmed().toUpper();
    }
    return QString();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string name = input.ConsumeRandomLengthString(12);
    for (const char c : name) {
        if (c < ' ' || c > '~')
            return -1;
    }
    const std::string rest = input.ConsumeRemainingBytesAsString();
    const QString line = QString::fromUtf8(rest.data(), qsizetype(rest.size()));
    const QString switchName = QString::fromLatin1(name.data(), qsizetype(name.size()));

    ScriptedPlatform platform;
    const QString value = ReadCommand(line, switchName);
    const QString expected = expectedValue(line, switchName);
    const auto check = [&](bool holds, const char* property) {
        if (holds)
            return;
        std::fprintf(stderr,
                     "switch reader: %s\n  command line \"%s\", name \"%s\"\n"
                     "  value \"%s\", expected \"%s\"\n",
                     property, qUtf8Printable(line), qUtf8Printable(switchName),
                     qUtf8Printable(value), qUtf8Printable(expected));
        std::abort();
    };
    check(platform.boxes.empty(), "a step failed");
    check(value == value.toUpper(), "not upper case");
    check(value == value.trimmed(), "not trimmed");
    check(!value.contains(QLatin1Char('/')), "holds a \"/\"");
    check(value == expected, "not the text after the first occurrence of the name");
    return 0;
}
