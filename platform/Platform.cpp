#include "platform/Platform.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
Platform* installed = nullptr;
}

Platform& current() {
    if (installed == nullptr) {
        std::fputs("415_MainPicture_Config: no platform installed\n", stderr);
        std::abort();
    }
    return *installed;
}

void install(Platform* platform) {
    installed = platform;
}

void endAtOnce(int exitCode) {
    current().endProcess(exitCode);
    std::abort(); // not reached: endProcess does not return
}

QString withoutExeExtension(const QString& fileName) {
    const QLatin1String extension(".exe");
    return fileName.endsWith(extension, Qt::CaseInsensitive) ? fileName.chopped(extension.size())
                                                             : fileName;
}

} // namespace platform
