#include "store/FileLocations.h"

#include "core/Failure.h"
#include "core/Text.h"
#include "diag/ErrorProtocol.h"
#include "diag/Logs.h"
#include "diag/Procedure.h"
#include "files/PathCase.h"
#include "platform/Platform.h"
#include "run/HostPath.h"
#include "run/RunFacts.h"
#include "run/RunState.h"
#include "store/IniAccess.h"

namespace {
// The installation's file system ignores case. A name that cannot be looked up is told, and the
// path stays as the installation names it: the existence test then decides, as it does for a
// file whose test fails.
void spellAsOnDisk(Procedure& procedure, QString& path) {
    procedure.step([&] { path = onDiskSpelling(path); });
}

// The existence test as a step's condition: one that fails (something unreadable in the file's
// place) is told, and counts as found.
bool exists(Procedure& procedure, const QString& path) {
    return procedure.test([&] {
        const FileOutcome<bool> found = platform::current().isOrdinaryFile(path);
        if (found.error != 0)
            raiseReadFailure(path, found.error);
        return found.value;
    });
}
} // namespace

Read<QString> GetJX5ConfigurationIniPath() {
    Procedure procedure("GetJX5ConfigurationIniPath");
    QString path;
    QString result;
    procedure.step([&] {
        path = runFacts().installationFolder + QStringLiteral("/parameter/jx5configuration.ini");
    });
    spellAsOnDisk(procedure, path);
    if (exists(procedure, path))
        result = path;
    return procedure.result(result);
}

Read<QString> GetProgramIniPath(qint32 selector) {
    Procedure procedure("GetProgramIniPath");
    QString path;
    QString result;
    bool readCopy = false;
    procedure.step([&] { readCopy = selector == 1 && StartModeIntegrated; });
    if (readCopy) {
        QString saveAndRestore;
        procedure.step([&] {
            saveAndRestore = procedure.take(
                LoadIniString(QStringLiteral("Common"), QStringLiteral("SaveAndRestore"),
                              procedure.take(GetJX5ConfigurationIniPath()), false));
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
        procedure.step([&] {
            path = runFacts().installationFolder + QStringLiteral("/parameter/Program.ini");
        });
    }
    spellAsOnDisk(procedure, path);
    if (exists(procedure, path))
        result = path;
    return procedure.result(result);
}

QString installationProgramIniPath() {
    const QString path = runFacts().installationFolder + QStringLiteral("/parameter/Program.ini");
    const files::Spelling spelling = files::existingSpelling(path);
    return spelling.error == 0 ? spelling.path : path;
}

Read<QString> GetCFGPath() {
    Procedure procedure("GetCFGPath");
    QString component;
    QString path;
    procedure.step([&] { component = runFacts().componentName; });
    procedure.step([&] {
        path = runFacts().installationFolder + QLatin1Char('/') + component + QLatin1Char('/') +
               component + QStringLiteral(".cfg");
    });
    spellAsOnDisk(procedure, path);
    if (exists(procedure, path))
        return procedure.result(path);
    procedure.step([&] {
        ReportFault(QStringLiteral("File not found: ") + MessageLineBreak +
                    core::printablePath(core::upperCase(path)));
    });
    endRun(platform::ExitFileMissing);
}
