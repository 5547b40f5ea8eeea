#include "platform/ProfileFiles.h"

#include <cerrno>
#include <chrono>

namespace platform {

namespace {

// A file modified within the file system's clock granularity of our read could be changed
// again without changing its modification time; only a file that has been still for a while
// is kept.
bool hasSettled(const files::Identity& identity) {
    constexpr qint64 SettledAfterSeconds = 2;
    const qint64 now = std::chrono::duration_cast<std::chrono::seconds>(
                           std::chrono::system_clock::now().time_since_epoch())
                           .count();
    return identity.modifiedSeconds + SettledAfterSeconds <= now;
}

QByteArray cutToBuffer(QByteArray text, int bufferSize) {
    text.truncate(qMax(0, bufferSize - 1));
    return text;
}

} // namespace

FileOutcome<std::shared_ptr<const ini::Document>> ProfileFiles::documentOf(const QString& path) {
    const FileOutcome<std::optional<files::Identity>> identity = files::identityOf(path);
    if (!identity.value)
        return {nullptr, identity.error};
    if (kept_ && kept_->identity == *identity.value)
        return {kept_->document};
    FileOutcome<std::optional<files::Snapshot>> snapshot = files::readOrdinaryFile(path);
    if (!snapshot.value)
        return {nullptr, snapshot.error};
    // Such a file is refused, both for reading and for writing, and stays untouched.
    if (ini::isUtf16(snapshot.value->bytes))
        return {nullptr, EILSEQ};
    auto document = std::make_shared<const ini::Document>(std::move(snapshot.value->bytes));
    kept_.reset();
    if (hasSettled(snapshot.value->identity))
        kept_ = Kept{snapshot.value->identity, document};
    return {document};
}

FileOutcome<QByteArray> ProfileFiles::readString(const QByteArray& section, const QByteArray& key,
                                                 const QByteArray& defaultValue, int bufferSize,
                                                 const QString& file) {
    const FileOutcome<std::shared_ptr<const ini::Document>> document = documentOf(file);
    std::optional<QByteArray> value;
    if (document.value)
        value = document.value->find(section, key);
    if (!value) {
        QByteArray fallback = defaultValue;
        while (fallback.endsWith(' '))
            fallback.chop(1);
        value = fallback;
    }
    return {cutToBuffer(*value, bufferSize), document.error};
}

FileOutcome<qint32> ProfileFiles::readInteger(const QByteArray& section, const QByteArray& key,
                                              qint32 defaultValue, const QString& file) {
    const FileOutcome<std::shared_ptr<const ini::Document>> document = documentOf(file);
    if (!document.value)
        return {defaultValue, document.error};
    const std::optional<QByteArray> value = document.value->find(section, key);
    if (!value || value->isEmpty())
        return {defaultValue};
    return {ini::parseInteger(*value)};
}

FileOutcome<int> ProfileFiles::writeString(const QByteArray& section, const QByteArray& key,
                                           const std::optional<QByteArray>& value,
                                           const QString& file) {
    if (file.isEmpty())
        return {0, ENOENT};
    if (!ini::acceptsEntry(section, key, value))
        return {0, EINVAL};
    int refusal = 0;
    const FileOutcome<bool> saved = files::rewrite(
        file,
        [&](const QByteArray& content) -> std::optional<files::Splice> {
            refusal = ini::isUtf16(content) ? EILSEQ : 0;
            const std::optional<ini::Edit> edit =
                refusal ? std::nullopt : ini::editOf(content, section, key, value);
            if (!edit)
                return std::nullopt;
            return files::Splice{edit->from, edit->to, edit->text};
        },
        locks_);
    const int error = saved.error != 0 ? saved.error : refusal;
    return {error == 0 ? 1 : 0, error, saved.lockedFolder};
}

} // namespace platform
