#include "core/Text.h"

namespace core {

QString upperCase(const QString& text) {
    QString upper = text;
    for (qsizetype i = 0; i < upper.size(); ++i) {
        const QChar c = upper.at(i);
        if (c.isHighSurrogate() && i + 1 < upper.size() && upper.at(i + 1).isLowSurrogate()) {
            // A letter outside the basic plane has its upper case in the same plane.
            const char32_t mapped = QChar::toUpper(QChar::surrogateToUcs4(c, upper.at(i + 1)));
            if (QChar::requiresSurrogates(mapped)) {
                upper[i] = QChar(QChar::highSurrogate(mapped));
                upper[i + 1] = QChar(QChar::lowSurrogate(mapped));
            }
            ++i;
        } else {
            upper[i] = c.toUpper();
        }
    }
    return upper;
}

QString trimSpaces(const QString& text) {
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first) == QLatin1Char(' '))
        ++first;
    while (end > first && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.mid(first, end - first);
}

QString printablePath(const QString& path) {
    QString shown;
    shown.reserve(path.size());
    for (const QChar c : path) {
        if (c == u'\r')
            shown += QLatin1String("<CR>");
        else if (c == u'\n')
            shown += QLatin1String("<LF>");
        else if (c.category() == QChar::Other_Control)
            shown += QStringLiteral("<0x") +
                     QString::number(c.unicode(), 16).toUpper().rightJustified(2, u'0') + u'>';
        else
            shown += c;
    }
    return shown;
}

} // namespace core
