#include "store/IniAccess.h"

#include "core/Cp1252.h"
#include "core/Failure.h"
#include "diag/Logs.h"
#include "diag/Procedure.h"
#include "platform/Platform.h"

#include <array>
#include <charconv>
#include <limits>

namespace {
// The read buffer holds 255 characters with the terminating zero, so 254 come back.
constexpr int ReadBufferSize = 255;
const QByteArray ReadDefault(ReadBufferSize, ' ');
constexpr qint32 MissingInteger = -1;

QString missingEntryText(const QString& section, const QString& key, const QString& file) {
    return QStringLiteral("File '") + file + QStringLiteral("' or Section [") + section +
           QStringLiteral("] or Entry '") + key + QStringLiteral("' not found");
}

// Shortest decimal form that reads back as the same number, "." whatever the locale.
template <typename Real> QByteArray realText(Real value) {
    std::array<char, 64> digits{};
    const auto result = std::to_chars(digits.data(), digits.data() + digits.size(), value);
    return QByteArray(digits.data(), static_cast<qsizetype>(result.ptr - digits.data()));
}

// The text SaveIni writes for a value, or nullopt for a kind it does not write.
std::optional<QByteArray> textOf(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::QString:
        return core::toCp1252(value.toString());
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::UChar:
        return QByteArray::number(value.toInt());
    case QMetaType::Float:
        return realText(value.toFloat());
    case QMetaType::Double:
        return realText(value.toDouble());
    case QMetaType::Bool:
        return value.toBool() ? QByteArray("true") : QByteArray("false");
    default:
        return std::nullopt;
    }
}
} // namespace

Read<QString> LoadIniString(const QString& section, const QString& key, const QString& file,
                            bool reportMissing) {
    Procedure procedure("LoadIniString");
    QByteArray buffer;
    procedure.step([&] {
        const FileOutcome<QByteArray> read = platform::current().getPrivateProfileString(
            core::toCp1252(section), core::toCp1252(key), ReadDefault, ReadBufferSize, file);
        if (read.error != 0)
            raiseReadFailure(file, read.error);
        buffer = read.value;
    });
    if (buffer.isEmpty() && reportMissing)
        procedure.step([&] { ReportFault(missingEntryText(section, key, file)); });
    QString value;
    procedure.step([&] { value = core::fromCp1252(buffer.left(ReadBufferSize - 1)); });
    return procedure.result(value);
}

Read<qint16> LoadIniInteger(const QString& section, const QString& key, const QString& file,
                            bool reportMissing) {
    Procedure procedure("LoadIniInteger");
    qint16 value = 0;
    procedure.step([&] {
        const FileOutcome<qint32> read = platform::current().getPrivateProfileInt(
            core::toCp1252(section), core::toCp1252(key), MissingInteger, file);
        if (read.error != 0)
            raiseReadFailure(file, read.error);
        // An overflow is a value that was read: the documented rule reads it as 0.
        if (read.value < std::numeric_limits<qint16>::min() ||
            read.value > std::numeric_limits<qint16>::max())
            raiseFailure(Overflow);
        value = static_cast<qint16>(read.value);
    });
    if (value == MissingInteger && reportMissing)
        procedure.step([&] { ReportFault(missingEntryText(section, key, file)); });
    return procedure.result(value);
}

Saved SaveIni(const QVariant& value, const QString& section, const QString& key,
              const QString& file) {
    Procedure procedure("SaveIni");
    std::optional<QByteArray> text;
    procedure.step([&] {
        text = textOf(value);
        if (!text)
            ReportFault(QStringLiteral("Ini Save:  wrong data type"));
    });
    Saved saved;
    procedure.step([&] {
        const FileOutcome<int> written = platform::current().writePrivateProfileString(
            core::toCp1252(section), core::toCp1252(key), text, file);
        saved = {static_cast<qint16>(written.value != 0 ? 1 : 0), written.error,
                 written.lockedFolder};
    });
    return saved;
}
