#include "run/Switches.h"

#include "core/Text.h"

QString switchValue(const QString& commandLine, const QString& switchName) {
    // A position in the upper-cased text is the same position in the command line.
    const qsizetype position = core::upperCase(commandLine).indexOf(core::upperCase(switchName));
    if (position < 0)
        return QString();
    QString value;
    // The one character after the name separates it from the value, whatever it is.
    const qsizetype start = position + switchName.size() + 1;
    if (start < commandLine.size())
        value = core::upperCase(core::trimSpaces(commandLine.mid(start)));
    const qsizetype slash = value.indexOf(QLatin1Char('/'));
    if (slash >= 0)
        value = core::trimSpaces(core::upperCase(value.left(slash)));
    return value;
}
