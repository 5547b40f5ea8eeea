// "--help" and "--version" as the built program answers them: without a display, without
// touching a file, and only when they stand alone; every other command line starts the
// program by the switch rules. The usage names the files of the installation it lies in.

#include "support/ProgramProcess.h"

#include <QDirIterator>

#include <gtest/gtest.h>

namespace {

// Every file below the installation with its content.
QMap<QString, QByteArray> snapshot(const TempInstallation& installation) {
    QMap<QString, QByteArray> files;
    QDirIterator it(installation.root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(path, TempInstallation::readFile(path));
    }
    return files;
}

TEST(CommandLineHelpTest, HelpAndVersionAnswerOnlyWhenAlone) {
    const struct {
        QStringList arguments;
        int exitCode;
        const char* output; // the start of stdout; nullptr: the program ran instead
    } cases[] = {
        {{u"--help"_s}, 0, "Usage: 415_MainPicture_Config [/EXTERNAL=JX5CFG [/LOGFILE=PATH]"},
        {{u"--version"_s}, 0, "415_MainPicture_Config 2.00\n"},
        // Standalone starts by the switch rules, which find no display here.
        {{u"--HELP"_s}, 3, nullptr},
        {{u"-h"_s}, 3, nullptr},
        {{u"--version"_s, u"--help"_s}, 3, nullptr},
        {{u"--help "_s}, 3, nullptr},
        // A silent run stores, whatever else the command line holds.
        {{u"--help"_s, u"/EXTERNAL=SILENT"_s}, 0, nullptr},
    };
    for (const auto& [arguments, exitCode, output] : cases) {
        SCOPED_TRACE(arguments.join(u'|').toStdString());
        const TempInstallation installation;
        installation.write(u"parameter/Program.ini"_s, "[Machine1]\r\nMainPictureStatus=3\r\n");
        installation.write(u"415_MainPicture/415_MainPicture.cfg"_s, "[Project]\r\n");
        const ProgramProcess program(installation);
        const QMap<QString, QByteArray> before = snapshot(installation);

        QProcess process;
        process.setProcessEnvironment(program.environment);
        process.start(program.executable, arguments);
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), exitCode) << process.readAllStandardError().constData();
        const QString standardOutput = QString::fromLocal8Bit(process.readAllStandardOutput());
        if (output == nullptr) {
            EXPECT_EQ(standardOutput, QString());
            continue;
        }
        EXPECT_TRUE(standardOutput.startsWith(QString::fromLatin1(output)))
            << standardOutput.toStdString();
        EXPECT_EQ(process.readAllStandardError(), QByteArray());
        EXPECT_EQ(snapshot(installation), before) << "a file was touched";
        if (arguments.first() != u"--help"_s)
            continue;
        // The usage names the files of the installation the program lies in, and every exit
        // status.
        for (const QString& expected :
             {installation.programIni(), installation.path(u"parameter/jx5configuration.ini"_s),
              installation.cfg(),
              installation.path(u"415_MainPicture/415_MainPicture_Config.ini"_s),
              installation.errorLog(), installation.path(u"service.log"_s), u"\n  0  "_s,
              u"\n  1  "_s, u"\n  2  415_MainPicture.cfg is missing"_s, u"\n  3  "_s, u"\n  4  "_s})
            EXPECT_TRUE(standardOutput.contains(expected)) << expected.toStdString();
    }
}

} // namespace
