#include "env/ProgramFolders.h"

#include "diag/Procedure.h"
#include "platform/Platform.h"

namespace {
// The length of "_Config" that the executable's name carries beyond the component's.
constexpr qsizetype ConfigSuffixLength = 7;
} // namespace

QString programFolder() {
    return platform::current().programFolder();
}

QString installationFolder() {
    const QString folder = programFolder();
    const qsizetype lastSeparator = folder.lastIndexOf(QLatin1Char('/'));
    return lastSeparator < 0 ? QString() : folder.left(lastSeparator);
}

QString GetOCXName() {
    Procedure procedure("GetOCXName");
    QString name;
    procedure.step([&] {
        const QString executable = platform::current().executableName();
        // A name of seven characters or fewer leaves nothing of the component's name.
        if (executable.size() > ConfigSuffixLength)
            name = executable.left(executable.size() - ConfigSuffixLength);
    });
    return name;
}

QString GetFileNameOnly(const QString& path) {
    Procedure procedure("GetFileNameOnly");
    QString name;
    procedure.step([&] { name = path.mid(path.lastIndexOf(QLatin1Char('/')) + 1); });
    return name;
}
