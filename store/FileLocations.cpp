#include "store/FileLocations.h"

#include "diag/Logs.h"
#include "diag/Procedure.h"
#include "env/ProgramNames.h"
#include "platform/PathCase.h"
#include "platform/Platform.h"
#include "platform/Text.h"
#include "run/HostPath.h"
#include "run/RunState.h"
#include "store/IniAccess.h"

namespace {
// The installation's file system ignores case. A name that cannot be looked up is told, and the
// path stays as the installation names it: the existence test then decides, as it does for a
// file whose test fails.
void spellAsOnDisk(Procedure& procedure, QString& path) {
    procedure.step([&] { path = platform::existingSpelling(path); });
}
} // namespace

QString GetJX5ConfigurationIniPath() {
    Procedure procedure("GetJX5ConfigurationIniPath");
    QString path;
    QString result;
    procedure.step(
        [&] { path = installationFolder() + QStringLiteral("/parameter/jx5configuration.ini"); });
    spellAsOnDisk(procedure, path);
    if (procedure.test([&] { return platform::current().isOrdinaryFile(path); }))
        result = path;
    return result;
}

QString GetProgramIniPath(qint32 selector) {
    Procedure procedure("GetProgramIniPath");
    QString path;
    QString result;
    bool readCopy = false;
    procedure.step([&] { readCopy = selector == 1 && StartModeIntegrated; });
    if (readCopy) {
        QString saveAndRestore;
        procedure.step([&] {
            saveAndRestore =
                LoadIniString(QStringLiteral("Common"), QStringLiteral("SaveAndRestore"),
                              GetJX5ConfigurationIniPath(), false);
        });
        procedure.step([&] {
            // The host writes SaveAndRestore in its own form, drive letter and "\" (a trailing
            // one included), and its file system ignores case.
            const QString folder = fromHostPath(saveAndRestore);
            path = folder.endsWith(QLatin1Char('/'))
                       ? folder + QStringLiteral("parameter/program.ini")
                       : folder + QStringLiteral("/parameter/program.ini");
        });
    } else {
        procedure.step(
            [&] { path = installationFolder() + QStringLiteral("/parameter/Program.ini"); });
    }
    spellAsOnDisk(procedure, path);
    if (procedure.test([&] { return platform::current().isOrdinaryFile(path); }))
        result = path;
    return result;
}

QString installationProgramIniPath() {
    return platform::existingSpelling(installationFolder() +
                                      QStringLiteral("/parameter/Program.ini"));
}

QString GetCFGPath() {
    Procedure procedure("GetCFGPath");
    QString component;
    QString path;
    procedure.step([&] { component = GetOCXName(); });
    procedure.step([&] {
        path = installationFolder() + QLatin1Char('/') + component + QLatin1Char('/') + component +
               QStringLiteral(".cfg");
    });
    spellAsOnDisk(procedure, path);
    if (procedure.test([&] { return platform::current().isOrdinaryFile(path); }))
        return path;
    procedure.step([&] {
        ReportFault(QStringLiteral("File not found: ") + MessageLineBreak +
                    platform::printablePath(platform::upperCase(path)));
    });
    platform::endAtOnce(platform::ExitFileMissing);
}
