#include "run/ProgramFolders.h"

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

QString componentName() {
    const QString executable = platform::current().executableName();
    // A name of seven characters or fewer leaves nothing of the component's name.
    return executable.size() > ConfigSuffixLength
               ? executable.left(executable.size() - ConfigSuffixLength)
               : QString();
}
