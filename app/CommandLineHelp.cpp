#include "app/CommandLineHelp.h"

#include "core/Failure.h"
#include "diag/Logs.h"
#include "i18n/Language.h"
#include "platform/Platform.h"
#include "run/RunFacts.h"

#include <cstdio>
#include <functional>

namespace {

// The product's version as it is written on the product: major version, "." and the minor
// version in two digits, "2.00".
QString productVersion() {
    const platform::Version version = platform::current().version();
    return QStringLiteral("%1.%2").arg(version.major).arg(version.minor, 2, 10, QLatin1Char('0'));
}

// A path as the program would find it, or as named when looking it up fails: the help says
// where the files are, and tells no failure.
QString pathOrNamed(const std::function<QString()>& find, const QString& named) {
    try {
        return find();
    } catch (const Failure&) {
        return named;
    }
}

QString usageText() {
    const RunFacts& facts = runFacts();
    const QString executable = facts.executableFileName;
    const QString installation = facts.installationFolder;
    const QString component = facts.componentName;
    const QString programIni = installation + QStringLiteral("/parameter/Program.ini");
    // Both logs are named as a standalone run would find them: the start mode is unknown here.
    // Every line of fixed text fits a terminal of 80 columns; only a long installation path
    // can make its own line longer.
    const QString lines[] = {
        QStringLiteral("Usage: %1 [/EXTERNAL=JX5CFG [/LOGFILE=PATH]]").arg(executable),
        QStringLiteral("       %1 /EXTERNAL=SILENT").arg(executable),
        QStringLiteral("       %1 --show [--json]").arg(executable),
        QStringLiteral("       %1 --set NAME=on|off[,NAME=on|off...]").arg(executable),
        QStringLiteral("       %1 --help | --version").arg(executable),
        QString(),
        QStringLiteral("States how packaging machine 415 is built: five options, stored as bits"),
        QStringLiteral("0 to 4 of MainPictureStatus in section [Machine1] of Program.ini."),
        QString(),
        QStringLiteral("Start modes:"),
        QStringLiteral("  (no switch)       standalone: the dialog shows the stored options; the"),
        QStringLiteral("                    green tick stores them and ends, the red cross or"),
        QStringLiteral("                    closing the window asks first"),
        QStringLiteral("  /EXTERNAL=JX5CFG  integrated, started by the configuration host: the"),
        QStringLiteral("                    dialog shows the host's copy of Program.ini below"),
        QStringLiteral("                    its SaveAndRestore folder and stores into the"),
        QStringLiteral("                    installation's own Program.ini"),
        QStringLiteral("  /EXTERNAL=SILENT  silent: no window and no display; stores the options"),
        QStringLiteral("                    as read and ends; what a box would show goes to the"),
        QStringLiteral("                    service log, and a run that did not store says so in"),
        QStringLiteral("                    one line on stderr"),
        QString(),
        QStringLiteral("Options from a script, without a window or a display:"),
        QStringLiteral("  --show            prints the five options as NAME=on|off in bit order,"),
        QStringLiteral("                    then MainPictureStatus=VALUE, as a silent run reads"),
        QStringLiteral("                    them; with --json as one JSON object; writes nothing"),
        QStringLiteral("  --set LIST        stores the options named as the green tick does (the"),
        QStringLiteral("                    other bits keep the file's values) and prints changed"),
        QStringLiteral("                    or unchanged; unchanged writes nothing"),
        QStringLiteral("  NAME, bit 0 to 4: labelling-unit, bobbins-left, no-bobbins,"),
        QStringLiteral("                    bobbins-right-thread-at-machine, no-thread"),
        QString(),
        QStringLiteral("Switches:"),
        QStringLiteral("  /EXTERNAL=VALUE   JX5CFG or SILENT; any other value starts standalone"),
        QStringLiteral("  /LOGFILE=PATH     the error log of an integrated run, in the host's"),
        QStringLiteral("                    form: in C:\\TEMP\\CFG.LOG the drive is the root"),
        QStringLiteral("                    folder and each \\ a /"),
        QStringLiteral("  Names and values are read without regard to case; a value ends at the"),
        QStringLiteral("  next \"/\". The forms that start with -- count only as the whole"),
        QStringLiteral("  command line."),
        QString(),
        QStringLiteral("Files:"),
        QStringLiteral("  %1").arg(programIni),
        QStringLiteral("      the options, read and written"),
        QStringLiteral("  %1/parameter/jx5configuration.ini").arg(installation),
        QStringLiteral("      the configuration host's settings, read only"),
        QStringLiteral("  %1/%2.cfg").arg(facts.programFolder, component),
        QStringLiteral("      must exist; each store writes an edit record into section [Info]"),
        QStringLiteral("  %1").arg(pathOrNamed(languageFilePath, facts.programFolder + u'/' +
                                                                     facts.executableName +
                                                                     QStringLiteral(".ini"))),
        QStringLiteral("      language file: [Language] Language=1031 German texts, 1033 English"),
        QStringLiteral("  %1").arg(errorLogPath()),
        QStringLiteral("      error log, in every start mode (an integrated run: its LOGFILE)"),
        QStringLiteral("  %1").arg(
            pathOrNamed(serviceLogPath, QStringLiteral("/OstrelServicePack.log"))),
        QStringLiteral(
            "      service log: what a silent run would show in a box (or the file that"),
        QStringLiteral("      MAINPICTURE_SERVICE_LOG names)"),
        QString(),
        QStringLiteral("Exit status:"),
        QStringLiteral("  %1  the options were stored (OK), or a cancel was confirmed")
            .arg(platform::ExitNormal),
        QStringLiteral("  %1  the program ended after an unexpected error (the answer No)")
            .arg(platform::ExitEndProgram),
        QStringLiteral("  %1  %2.cfg is missing").arg(platform::ExitFileMissing).arg(component),
        QStringLiteral("  %1  the dialog found no display").arg(platform::ExitNoDisplay),
        QStringLiteral("  %1  a file could not be read, or the options or the edit record could")
            .arg(platform::ExitNotStored),
        QStringLiteral("     not be stored; the error log says why, and so does the box or, in a"),
        QStringLiteral("     silent run, the service log"),
        QStringLiteral("  %1 --show or --set was given a command line it does not take; nothing")
            .arg(platform::ExitUsage),
        QStringLiteral("     was written"),
    };
    QString text;
    for (const QString& line : lines)
        text += line + QLatin1Char('\n');
    return text;
}

} // namespace

QString informationText(const QStringList& arguments) {
    if (arguments == QStringList{QStringLiteral("--help")})
        return usageText();
    if (arguments == QStringList{QStringLiteral("--version")})
        return QStringLiteral("415_MainPicture_Config %1\n").arg(productVersion());
    return QString();
}

int answerInformationRequest(int argc, char** argv) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const QString text = informationText(arguments);
    if (text.isEmpty())
        return -1;
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
    return platform::ExitNormal;
}
