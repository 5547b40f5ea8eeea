// "--help" and "--version" as the built program answers them: without a display, without
// touching a file, and only when they stand alone; every other command line starts the
// program by the switch rules. The usage names the files of the installation it lies in.

#include "support/ProgramProcess.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLineHelpTest, HelpAndVersionAnswerOnlyWhenAlone) {
    const struct {
        QStringList arguments;
        int exitCode;
        const char* output; // the start of stdout; nullptr: the program ran instead
    } cases[] = {
        {{u"--help"_s}, 0, "Usage: 415_MainPicture_Config [/EXTERNAL=JX5CFG [/LOGFILE=PATH]"},
        {{u"--version"_s}, 0, "415_MainPicture_Config 2.00\n"},
        // Any other spelling starts standalone by the switch rules, which find no display here.
        {{u"--HELP"_s}, 3, nullptr},
        // A silent run stores, whatever else the command line holds.
        {{u"--help"_s, u"/EXTERNAL=SILENT"_s}, 0, nullptr},
    };
    for (const auto& [arguments, exitCode, output] : cases) {
        SCOPED_TRACE(arguments.join(u'|').toStdString());
        const TempInstallation installation;
        installation.writeStandard(3);
        const ProgramProcess program(installation);
        const QMap<QString, QByteArray> before = installation.snapshot();
        const ProcessResult result = program.run(arguments);
        EXPECT_EQ(result.exitCode, exitCode) << result.standardError.constData();
        const QString standardOutput = QString::fromLocal8Bit(result.standardOutput);
        if (output == nullptr) {
            EXPECT_EQ(standardOutput, QString());
            // No display is told in one line.
            EXPECT_EQ(result.standardError.count('\n'), exitCode == 3 ? 1 : 0);
            continue;
        }
        EXPECT_TRUE(standardOutput.startsWith(QString::fromLatin1(output)))
            << standardOutput.toStdString();
        EXPECT_EQ(result.standardError, QByteArray());
        EXPECT_EQ(installation.snapshot(), before) << "a file was touched";
        if (arguments.first() != u"--help"_s)
            continue;
        // The usage names the files of the installation the program lies in, and every exit
        // status.
        for (const QString& expected :
             {installation.programIni(), installation.path(TempInstallation::HostIni),
              installation.cfg(), installation.path(TempInstallation::LanguageFile),
              installation.errorLog(), installation.path(TempInstallation::ServiceLog),
              u"\n  0  "_s, u"\n  1  "_s, u"\n  2  415_MainPicture.cfg is missing"_s, u"\n  3  "_s,
              u"\n  4  "_s})
            EXPECT_TRUE(standardOutput.contains(expected)) << expected.toStdString();
    }
}

} // namespace
