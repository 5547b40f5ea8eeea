// A sequence of writes and removals on any content. After each write the entry reads back as
// written (trimmed and unquoted as a read does), and the content is the old one with one
// change: the entry's line replaced after its "=", or removed, or a new entry line inserted
// below the last entry line of a block, or a new section with its entry appended at the end.
// New lines end as the first line does; every other byte stays as it was. At the end every
// entry still reads as its last write left it.

#include "fuzz/FuzzCheck.h"
#include "ini/IniEngine.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <map>
#include <vector>

using namespace ini;

namespace {

using Text = std::optional<QByteArray>;

void require(bool holds, const char* property) {
    requireProperty(holds, "INI writer", property);
}

QByteArray trimmed(QByteArray text, QByteArrayView blanks) {
    while (!text.isEmpty() && blanks.contains(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && blanks.contains(text.back()))
        text.chop(1);
    return text;
}

// A value as a read returns it.
QByteArray asRead(const QByteArray& value) {
    const QByteArray text = trimmed(value, " \t\v");
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                        text.back() == text.front();
    return quoted ? text.mid(1, text.size() - 2) : text;
}

// One line of the content as the engine splits it (CR LF, CR alone and LF alone each end a
// line): [begin, end) its text, next where the following line starts.
struct Line {
    qsizetype begin, end, next;
};

std::vector<Line> linesOf(const QByteArray& content) {
    std::vector<Line> lines;
    for (qsizetype at = 0; at < content.size();) {
        qsizetype end = at;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n')
            ++end;
        qsizetype next = end < content.size() ? end + 1 : end;
        if (next < content.size() && content[end] == '\r' && content[next] == '\n')
            ++next;
        lines.push_back({at, end, next});
        at = next;
    }
    return lines;
}

bool isHeader(const QByteArray& text) {
    return trimmed(text, " \t\v").startsWith('[');
}

// The key of an entry line; nullopt for headers, comments and lines without "=".
Text keyOf(const QByteArray& text) {
    const QByteArray body = trimmed(text, " \t\v");
    if (body.isEmpty() || body.startsWith('[') || body.startsWith(';') || !text.contains('='))
        return std::nullopt;
    return trimmed(text.left(text.indexOf('=')), " \t\v");
}

// One write's change: the content after it must be the content before it with exactly one
// stretch at a line boundary replaced, as the write's kind allows (a value written again
// replaces its own text). Bytes outside the stretch are compared as they are, so lines the
// write did not touch keep every byte.
void requireLocalChange(const QByteArray& before, const QByteArray& after,
                        const QByteArray& section, const QByteArray& key, const Text& value,
                        const Text& oldValue) {
    if (after == before && !value && !oldValue)
        return;
    const qsizetype size = before.size();
    qsizetype prefix = 0, suffix = 0;
    while (prefix < size && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    while (suffix < size && suffix < after.size() &&
           before[size - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    // Whether after is before with [from, to) replaced by the text.
    const auto splices = [&](qsizetype from, qsizetype to, const QByteArray& text) {
        return from <= prefix && size - to <= suffix &&
               after.size() == size - (to - from) + text.size() &&
               after.mid(from, text.size()) == text;
    };
    const std::vector<Line> lines = linesOf(before);
    const auto textOf = [&](const Line& line) {
        const QByteArray text = before.mid(line.begin, line.end - line.begin);
        return line.begin == 0 && text.startsWith("\xEF\xBB\xBF") ? text.mid(3) : text;
    };
    const QByteArray lineEnd = lines.empty() || lines[0].next == lines[0].end
                                   ? QByteArray("\r\n")
                                   : before.mid(lines[0].end, lines[0].next - lines[0].end);
    const QByteArray entry = key + '=' + value.value_or("") + lineEnd;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& line = lines[i];
        const QByteArray text = textOf(line);
        const Text name = keyOf(text);
        if (name && name->toLower() == key.toLower()) {
            const qsizetype equals =
                line.begin + (line.end - line.begin - text.size()) + text.indexOf('=');
            const bool wasFound = oldValue == asRead(before.mid(equals + 1, line.end - equals - 1));
            if (wasFound && !value && splices(line.begin, line.next, {}))
                return;
            if (wasFound && value && splices(equals + 1, line.end, *value))
                return;
        }
        const QByteArray lineBreak = line.next == line.end ? lineEnd : QByteArray();
        if (!value || oldValue || !(name || isHeader(text)) ||
            !splices(line.next, line.next, lineBreak + entry))
            continue;
        // A new entry goes below the block's last entry line, above what follows it.
        bool entryFollows = false;
        for (size_t j = i + 1; j < lines.size() && !isHeader(textOf(lines[j])); ++j)
            entryFollows = entryFollows || keyOf(textOf(lines[j]));
        if (!entryFollows)
            return;
    }
    const bool unfinished = size > (before.startsWith("\xEF\xBB\xBF") ? 3 : 0) &&
                            before.back() != '\r' && before.back() != '\n';
    const QByteArray newSection =
        (unfinished ? lineEnd : QByteArray()) + '[' + section + ']' + lineEnd + entry;
    require(value && !oldValue && splices(size, size, newSection),
            "not the entry's line replaced or removed, an entry inserted below the block's last "
            "entry, or a new section at the end");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    QByteArray content = bytes(input.ConsumeRandomLengthString(4096));
    std::map<std::pair<QByteArray, QByteArray>, Text> lastRead;
    for (int write = 0; write < 16 && input.remaining_bytes() > 0; ++write) {
        const QByteArray section = bytes(input.ConsumeRandomLengthString(8));
        const QByteArray key = bytes(input.ConsumeRandomLengthString(8));
        Text value;
        if (input.ConsumeBool())
            value = bytes(input.ConsumeRandomLengthString(16));

        const QByteArray before = content;
        const Text oldValue = findValue(before, section, key);
        content = withEntry(before, section, key, value);
        if (!acceptsEntry(section, key, value)) {
            require(content == before, "a refused write changed the content");
            continue;
        }
        const Text now = findValue(content, section, key);
        if (value)
            require(now == asRead(*value), "the entry does not read back as written");
        const QByteArray sectionName = trimmed(section, " "), keyName = trimmed(key, " ");
        requireLocalChange(before, content, sectionName, keyName, value, oldValue);
        lastRead[{sectionName.toLower(), keyName.toLower()}] = now;
    }
    for (const auto& [names, expected] : lastRead)
        require(findValue(content, names.first, names.second) == expected,
                "a later write changed an earlier entry");
    return 0;
}
