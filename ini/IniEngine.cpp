#include "ini/IniEngine.h"

#include <QByteArrayView>
#include <QHash>

#include <algorithm>
#include <cstring>

namespace ini {
namespace {

constexpr QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v';
}
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

QByteArrayView trimBlanks(QByteArrayView text) {
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// The caller's names lose spaces only, not tabs, as the Windows reader does.
QByteArrayView trimSpaces(QByteArrayView text) {
    while (!text.isEmpty() && text.front() == ' ')
        text = text.sliced(1);
    while (!text.isEmpty() && text.back() == ' ')
        text.chop(1);
    return text;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

// Names match without regard to ASCII case; bytes above 0x7F must be equal.
bool sameName(QByteArrayView a, QByteArrayView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (asciiLower(a[i]) != asciiLower(b[i]))
            return false;
    }
    return true;
}

// One line of the content: [begin, end) is its text, next is where the following line
// starts (end itself when the line is the last and has no line end).
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

// Where byte c first stands in [from, limit), or limit when it is not there.
qsizetype findByte(const QByteArray& content, char c, qsizetype from, qsizetype limit) {
    const void* hit = std::memchr(content.constData() + from, c, size_t(limit - from));
    return hit ? static_cast<const char*>(hit) - content.constData() : limit;
}

// Splits the content into lines for a scan that moves forward only. The next LF is searched
// once and kept until the scan passes it, and the next CR only up to that LF, so each byte is
// searched about once whatever the file's line ends (LF, CR LF or CR alone).
class LineReader {
public:
    explicit LineReader(const QByteArray& content) : content_(content) {}

    Line lineAt(qsizetype begin) {
        const qsizetype size = content_.size();
        if (nextLf_ < begin)
            nextLf_ = findByte(content_, '\n', begin, size);
        if (nextCr_ < begin)
            nextCr_ = findByte(content_, '\r', begin, nextLf_);
        const qsizetype end = std::min(nextCr_, nextLf_);
        qsizetype next = end;
        if (end < size) {
            next = end + 1;
            if (content_[end] == '\r' && next < size && content_[next] == '\n')
                ++next;
        }
        return {begin, end, next};
    }

private:
    const QByteArray& content_;
    qsizetype nextLf_ = -1;
    qsizetype nextCr_ = -1;
};

Line lineAt(const QByteArray& content, qsizetype begin) {
    return LineReader(content).lineAt(begin);
}

QByteArrayView textOf(const QByteArray& content, const Line& line) {
    return QByteArrayView(content).sliced(line.begin, line.end - line.begin);
}

bool holdsAny(QByteArrayView text, QByteArrayView bytes) {
    for (const char c : bytes) {
        if (text.contains(c))
            return true;
    }
    return false;
}

// The section a header line names, or nullopt for any other line. The name ends at the
// first "]"; a header without one still counts.
std::optional<QByteArrayView> headerName(QByteArrayView text) {
    const QByteArrayView body = trimBlanks(text);
    if (!body.startsWith('['))
        return std::nullopt;
    QByteArrayView name = body.sliced(1);
    const qsizetype close = name.indexOf(']');
    if (close >= 0)
        name.truncate(close);
    return trimBlanks(name);
}

// Where the "=" of an entry line stands in the line, or -1 for a comment or a line without
// "=". Only for lines that are no header.
qsizetype entryEquals(QByteArrayView text) {
    const QByteArrayView body = trimBlanks(text);
    if (body.isEmpty() || body.front() == ';')
        return -1;
    return text.indexOf('=');
}

qsizetype bodyStart(const QByteArray& content) {
    return content.startsWith(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

// Whether the header name that follows a "[" (see headerName) is section, reading no further
// than it must: most other headers differ in their length or their last letter, tested first.
// Only for a section that holds no "]" or line end and does not end with a blank.
bool namesSection(QByteArrayView rest, QByteArrayView section) {
    qsizetype begin = 0;
    while (begin < rest.size() && isBlank(rest[begin]))
        ++begin;
    const qsizetype end = begin + section.size();
    if (end > rest.size() || asciiLower(rest[end - 1]) != asciiLower(section.back()))
        return false;
    qsizetype close = end;
    while (close < rest.size() && isBlank(rest[close]))
        ++close;
    return (close == rest.size() || rest[close] == ']' || isLineEnd(rest[close])) &&
           sameName(rest.sliced(begin, section.size()), section);
}

// Visits each "[" that opens a header line, in the file's order, as visit(lineStart, bracket),
// until visit returns true; returns where that line starts, or the content's size. Only
// headers matter, so the scan jumps from "[" to "[" and looks back for the line's start.
template <typename Visit> qsizetype scanHeaders(const QByteArray& content, Visit visit) {
    const qsizetype body = bodyStart(content);
    for (qsizetype pos = body; pos < content.size();) {
        const qsizetype bracket = findByte(content, '[', pos, content.size());
        if (bracket == content.size())
            break;
        qsizetype lineStart = bracket;
        while (lineStart > body && isBlank(content[lineStart - 1]))
            --lineStart;
        const bool header = lineStart == body || isLineEnd(content[lineStart - 1]);
        if (header && visit(lineStart, bracket))
            return lineStart;
        pos = bracket + 1;
    }
    return content.size();
}

// Where the header line of the section's first block starts, or the content's size when the
// section is missing.
qsizetype sectionStart(const QByteArray& content, QByteArrayView section) {
    // No header names a section that holds a "]" or a line end or that ends with a blank.
    if (section.isEmpty() || isBlank(section.back()) || holdsAny(section, "]\r\n"))
        return content.size();
    return scanHeaders(content, [&](qsizetype, qsizetype bracket) {
        return namesSection(QByteArrayView(content).sliced(bracket + 1), section);
    });
}

// Where a section and a key stand in the content: the header of the section's first block,
// the first matching entry in that block (equals: the offset of its "=" in the content), and
// the last entry line of the block (the header itself when the block holds none).
struct Location {
    std::optional<Line> header;
    std::optional<Line> entry;
    qsizetype equals = -1;
    Line lastEntry;
};

// One pass from the section's header (at start, or the content's size when it is missing)
// that stops at the matching entry or at the end of the section's first block.
Location locate(const QByteArray& content, qsizetype start, QByteArrayView section,
                QByteArrayView key) {
    Location found;
    LineReader lines(content);
    for (qsizetype pos = start; pos < content.size();) {
        const Line line = lines.lineAt(pos);
        pos = line.next;
        const QByteArrayView text = textOf(content, line);
        if (const std::optional<QByteArrayView> name = headerName(text)) {
            // Only the first block of a section counts, as with the Windows reader.
            if (found.header)
                break;
            if (sameName(*name, section)) {
                found.header = line;
                found.lastEntry = line;
            }
            continue;
        }
        if (!found.header)
            continue;
        const qsizetype equals = entryEquals(text);
        if (equals < 0)
            continue;
        found.lastEntry = line;
        if (sameName(trimBlanks(text.first(equals)), key)) {
            found.entry = line;
            found.equals = line.begin + equals;
            break;
        }
    }
    return found;
}

// New lines end as the content's first line does, so an LF-only file stays LF-only.
QByteArray lineEndOf(const QByteArray& content) {
    const Line first = lineAt(content, 0);
    if (first.end == first.next)
        return "\r\n";
    return content.mid(first.end, first.next - first.end);
}

QByteArrayView unquoted(QByteArrayView value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.sliced(1, value.size() - 2);
    return value;
}

bool acceptsName(QByteArrayView name) {
    name = trimSpaces(name);
    return !name.isEmpty() && !isBlank(name.front()) && !isBlank(name.back()) &&
           !holdsAny(name, QByteArrayView("\r\n\0", 3));
}

// The value of the entry found, trimmed and unquoted, or nullopt when none was found.
std::optional<QByteArray> valueAt(const QByteArray& content, const Location& found) {
    if (!found.entry)
        return std::nullopt;
    const qsizetype valueBegin = found.equals + 1;
    const QByteArrayView value =
        QByteArrayView(content).sliced(valueBegin, found.entry->end - valueBegin);
    return unquoted(trimBlanks(value)).toByteArray();
}
} // namespace

std::optional<QByteArray> findValue(const QByteArray& content, const QByteArray& section,
                                    const QByteArray& key) {
    const QByteArrayView sectionName = trimSpaces(section);
    const QByteArrayView keyName = trimSpaces(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return std::nullopt;
    return valueAt(content,
                   locate(content, sectionStart(content, sectionName), sectionName, keyName));
}

bool acceptsEntry(const QByteArray& section, const QByteArray& key,
                  const std::optional<QByteArray>& value) {
    const QByteArrayView keyName = trimSpaces(key);
    return acceptsName(section) && !section.contains(']') && acceptsName(key) &&
           !keyName.contains('=') && !keyName.startsWith(';') && !keyName.startsWith('[') &&
           !(value && holdsAny(*value, QByteArrayView("\r\n\0", 3)));
}

std::optional<Edit> editOf(const QByteArray& content, const QByteArray& section,
                           const QByteArray& key, const std::optional<QByteArray>& value) {
    if (!acceptsEntry(section, key, value))
        return std::nullopt;
    const QByteArrayView sectionName = trimSpaces(section);
    const QByteArrayView keyName = trimSpaces(key);
    const Location found =
        locate(content, sectionStart(content, sectionName), sectionName, keyName);

    if (!value) {
        if (!found.entry)
            return std::nullopt;
        return Edit{found.entry->begin, found.entry->next, {}};
    }
    if (found.entry) {
        const qsizetype valueBegin = found.equals + 1;
        if (QByteArrayView(content).sliced(valueBegin, found.entry->end - valueBegin) == *value)
            return std::nullopt;
        return Edit{valueBegin, found.entry->end, *value};
    }

    const QByteArray lineEnd = lineEndOf(content);
    const QByteArray entry = keyName.toByteArray() + '=' + *value + lineEnd;
    if (found.header) {
        const Line& last = found.lastEntry;
        // The last line of the file may have no line end; the new entry needs its own line.
        const QByteArray breakFirst = last.next == last.end ? lineEnd : QByteArray();
        return Edit{last.next, last.next, breakFirst + entry};
    }
    const bool unfinished = content.size() > bodyStart(content) && !isLineEnd(content.back());
    const QByteArray breakFirst = unfinished ? lineEnd : QByteArray();
    return Edit{content.size(), content.size(),
                breakFirst + '[' + sectionName.toByteArray() + ']' + lineEnd + entry};
}

QByteArray withEntry(const QByteArray& content, const QByteArray& section, const QByteArray& key,
                     const std::optional<QByteArray>& value) {
    const std::optional<Edit> edit = editOf(content, section, key, value);
    if (!edit)
        return content;
    QByteArray result;
    result.reserve(content.size() - (edit->to - edit->from) + edit->text.size());
    result.append(QByteArrayView(content).first(edit->from));
    result.append(edit->text);
    result.append(QByteArrayView(content).sliced(edit->to));
    return result;
}

qint32 parseInteger(const QByteArray& value) {
    QByteArrayView text = value;
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.sliced(1);
    const bool negative = text.startsWith('-');
    if (negative || text.startsWith('+'))
        text = text.sliced(1);
    quint32 base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text = text.sliced(2);
    }
    // Unsigned arithmetic wraps modulo 2^32 by definition.
    quint32 number = 0;
    for (const char c : text) {
        quint32 digit = 0;
        if (c >= '0' && c <= '9')
            digit = quint32(c - '0');
        else if (base == 16 && asciiLower(c) >= 'a' && asciiLower(c) <= 'f')
            digit = quint32(asciiLower(c) - 'a' + 10);
        else
            break;
        number = number * base + digit;
    }
    if (negative)
        number = 0u - number;
    return static_cast<qint32>(number);
}

Document::Document(QByteArray content) : content_(std::move(content)) {}

std::optional<QByteArray> Document::find(const QByteArray& section, const QByteArray& key) const {
    const QByteArrayView sectionName = trimSpaces(section);
    const QByteArrayView keyName = trimSpaces(key);
    if (sectionName.isEmpty() || keyName.isEmpty())
        return std::nullopt;
    // One lookup is cheaper by a scan than by building the index first.
    const qsizetype start = ++lookups_ == 1
                                ? sectionStart(content_, sectionName)
                                : index().value(lowerCase(sectionName), content_.size());
    return valueAt(content_, locate(content_, start, sectionName, keyName));
}

QByteArray Document::lowerCase(QByteArrayView name) {
    QByteArray lower(name.size(), Qt::Uninitialized);
    std::transform(name.begin(), name.end(), lower.begin(), asciiLower);
    return lower;
}

const QHash<QByteArray, qsizetype>& Document::index() const {
    if (index_)
        return *index_;
    index_.emplace();
    scanHeaders(content_, [this](qsizetype lineStart, qsizetype bracket) {
        qsizetype end = bracket + 1;
        while (end < content_.size() && content_[end] != ']' && !isLineEnd(content_[end]))
            ++end;
        const QByteArray name =
            lowerCase(trimBlanks(QByteArrayView(content_).sliced(bracket + 1, end - bracket - 1)));
        if (!index_->contains(name)) // only the first block counts
            index_->insert(name, lineStart);
        return false;
    });
    return *index_;
}

bool isUtf16(const QByteArray& content) {
    return content.startsWith("\xFF\xFE") || content.startsWith("\xFE\xFF");
}

} // namespace ini
