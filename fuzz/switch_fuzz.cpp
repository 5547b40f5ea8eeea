// The switch reader on any command line: the value is upper case letter by letter (as long as
// the text it was cut from), has no leading or trailing space, holds no "/", is
// empty when the name does not occur, and otherwise is the text after the first occurrence of
// the name and one separator character, cut at the next "/". The name occurs where as many
// characters as it has read, upper-cased, as the upper-cased name. Switch names are the
// program's own ASCII words; the command line is any text.

#include "run/Switches.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Each code point by its own simple upper case. A lone surrogate (a value cut between the two
// halves of a pair) stays as it is; converting the text to code points would replace it.
QString upperEach(const QString& text) {
    QString upper;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            const char32_t mapped = QChar::toUpper(QChar::surrogateToUcs4(c, text.at(++i)));
            upper += QString::fromUcs4(&mapped, 1);
        } else {
            upper += c.toUpper();
        }
    }
    return upper;
}

QString withoutSpaces(QString text) {
    while (text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QString expectedValue(const QString& line, const QString& name) {
    const QString upperName = upperEach(name);
    for (qsizetype at = 0; at + name.size() <= line.size(); ++at) {
        if (upperEach(line.mid(at, name.size())) != upperName)
            continue;
        QString value = line.mid(at + name.size() + 1);
        const qsizetype slash = value.indexOf(QLatin1Char('/'));
        if (slash >= 0)
            value.truncate(slash);
        return withoutSpaces(upperEach(value));
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

    const QString value = switchValue(line, switchName);
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
    check(value == upperEach(value), "not upper case");
    check(value == withoutSpaces(value), "not trimmed of spaces");
    check(!value.contains(QLatin1Char('/')), "holds a \"/\"");
    check(value == expected, "not the text after the first occurrence of the name");
    return 0;
}
