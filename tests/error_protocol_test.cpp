// The error protocol, the logs and the resume-next mechanism: exact texts on screen and on
// disk, the decision, and the failures that arise while a failure is handled.

#include "diag/ErrorProtocol.h"
#include "diag/Logs.h"
#include "diag/Procedure.h"
#include "env/StartMode.h"
#include "platform/Failure.h"
#include "support/ProgramFixture.h"

#include <QDir>
#include <QFile>

using platform::Answer;

namespace {

class ErrorProtocolTest : public ProgramFixture {
protected:
    // The confirmation text for the standalone error log of this installation.
    QString loggedTo() const {
        return QStringLiteral("Error logged to \n\r") + installation.errorLog().toUpper();
    }
};

TEST_F(ErrorProtocolTest, LogsTheLineAndAsksWhetherToResume) {
    EXPECT_EQ(HandleError(6, QStringLiteral("415_MainPicture_Config"), QStringLiteral("Overflow"),
                          QStringLiteral("LoadIniInteger"), false),
              2);
    EXPECT_EQ(installation.read(QStringLiteral("JX5cfglog.txt")),
              "Fehler in 415_MainPicture / 415_MainPicture_Config / LoadIniInteger (Nr. 6) "
              ":Overflow\r\n");
    ASSERT_EQ(platform.boxes.size(), 1u);
    const RecordedBox& box = platform.boxes[0];
    EXPECT_EQ(box.title, QStringLiteral("Unexpected error"));
    EXPECT_EQ(box.text, QStringLiteral("Unexpected error!\n\rOverflow\n\r") + loggedTo() +
                            QStringLiteral("\n\rResume?"));
    EXPECT_EQ(box.icon, platform::Icon::Critical);
    EXPECT_EQ(box.buttons, platform::Buttons::YesNo);
    EXPECT_EQ(box.defaultButton, Answer::Yes);
}

TEST_F(ErrorProtocolTest, NoDecidesToEnd) {
    platform.answers = {Answer::No};
    EXPECT_EQ(HandleError(5, QString(), QStringLiteral("x"), QStringLiteral("ReadBit"), false), 1);
}

TEST_F(ErrorProtocolTest, FatalShowsOkOnlyAndEnds) {
    EXPECT_EQ(HandleError(5, QString(), QStringLiteral("x"), QStringLiteral("ReadBit"), true), 1);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].title, QStringLiteral("Fatal error"));
    EXPECT_EQ(platform.boxes[0].buttons, platform::Buttons::Ok);
}

TEST_F(ErrorProtocolTest, SilentRunLogsTwiceAndResumesWithoutABox) {
    StartModeSilent = true;
    EXPECT_EQ(HandleError(6, QStringLiteral("src"), QStringLiteral("Overflow"),
                          QStringLiteral("WriteBit"), false),
              2);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(errorLogEntries().size(), 1);
    EXPECT_EQ(serviceLogBytes(),
              "! Fault 415_MainPicture_Config: Unexpected error!\n\rOverflow\n\r" +
                  loggedTo().toLatin1() + "\r\n");
}

TEST_F(ErrorProtocolTest, TwoFailuresGiveTwoLinesInOrder) {
    HandleError(5, QStringLiteral("s"), QStringLiteral("first"), QStringLiteral("A"), false);
    HandleError(6, QStringLiteral("s"), QStringLiteral("second"), QStringLiteral("B"), false);
    const QByteArrayList entries = errorLogEntries();
    ASSERT_EQ(entries.size(), 2);
    EXPECT_TRUE(entries[0].endsWith(":first"));
    EXPECT_TRUE(entries[1].endsWith(":second"));
}

TEST_F(ErrorProtocolTest, LogIsWrittenInTheEightBitCodePage) {
    HandleError(5, QStringLiteral("s"), QStringLiteral("Größe €"), QStringLiteral("A"), false);
    EXPECT_TRUE(installation.read(QStringLiteral("JX5cfglog.txt"))
                    .endsWith(":Gr\xf6\xdf"
                              "e \x80\r\n"));
}

TEST_F(ErrorProtocolTest, AnUnwritableLogIsNotReportedAsLogged) {
    QDir().mkpath(installation.errorLog()); // a folder where the log should be
    EXPECT_EQ(
        HandleError(6, QStringLiteral("s"), QStringLiteral("Overflow"), QStringLiteral("A"), false),
        2);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(
        platform.boxes[0].text.contains(QStringLiteral("Error could not be logged to \n\r")));
    EXPECT_FALSE(platform.boxes[0].text.contains(QStringLiteral("Error logged to")));
}

TEST_F(ErrorProtocolTest, AFailureWhileHandlingDoesNotRecurse) {
    // GetOCXName follows the protocol itself; its failure inside HandleError must not loop.
    platform.failNext(QStringLiteral("executableName"), 5);
    EXPECT_EQ(
        HandleError(6, QStringLiteral("s"), QStringLiteral("Overflow"), QStringLiteral("A"), false),
        2);
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(errorLogEntries(), QByteArrayList{"Fehler in  / s / A (Nr. 6) :Overflow"});
}

TEST_F(ErrorProtocolTest, AFailingServiceLogStillResumesASilentRun) {
    StartModeSilent = true;
    platform.environment.insert(QStringLiteral("MAINPICTURE_SERVICE_LOG"),
                                installation.path(QStringLiteral("missing/service.log")));
    EXPECT_EQ(
        HandleError(6, QStringLiteral("s"), QStringLiteral("Overflow"), QStringLiteral("A"), false),
        2);
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_EQ(errorLogEntries().size(), 1);
}

TEST_F(ErrorProtocolTest, ProcedureResumesWithTheNextStepAndKeepsTheOldValue) {
    Procedure procedure("LoadIniString");
    QString value = QStringLiteral("before");
    EXPECT_FALSE(procedure.step([&] {
        raiseFailure(Overflow);
        value = QStringLiteral("after");
    }));
    EXPECT_EQ(value, QStringLiteral("before"));
    EXPECT_TRUE(procedure.step([&] { value = QStringLiteral("next"); }));
    EXPECT_EQ(value, QStringLiteral("next"));
    EXPECT_TRUE(errorLogEntries().value(0).contains("/ LoadIniString (Nr. 6) :Overflow"));
}

TEST_F(ErrorProtocolTest, AFailedTestThatIsResumedCountsAsTrue) {
    Procedure procedure("GetCFGPath");
    EXPECT_TRUE(procedure.test([]() -> bool { raiseFailure(PathNotFound); }));
    EXPECT_FALSE(procedure.test([] { return false; }));
}

TEST_F(ErrorProtocolTest, StandardExceptionsBecomeFailures) {
    Procedure procedure("SaveIni");
    procedure.step([] { throw std::bad_alloc(); });
    EXPECT_TRUE(errorLogEntries().value(0).endsWith("(Nr. 7) :Out of memory"));
}

TEST_F(ErrorProtocolTest, AnsweringNoEndsAtOnceAndNoLaterStepRuns) {
    platform.answers = {Answer::No};
    Procedure procedure("WriteInputs");
    bool laterStepRan = false;
    EXPECT_THROW(
        {
            procedure.step([] { raiseFailure(Overflow); });
            laterStepRan = true;
        },
        EndAtOnce);
    EXPECT_FALSE(laterStepRan);
    EXPECT_EQ(platform.endedWith, platform::ExitEndProgram);
}

TEST_F(ErrorProtocolTest, EndingAtOnceIsNeverResumed) {
    Procedure procedure("CloseMe");
    EXPECT_THROW(procedure.step([] { EndProgram(); }), EndAtOnce);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(ErrorProtocolTest, ReportFaultShowsABoxOrWritesTheServiceLog) {
    ReportFault(QStringLiteral("Ini Save:  wrong data type"));
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0].title, QStringLiteral("415_MainPicture_Config"));
    EXPECT_EQ(platform.boxes[0].buttons, platform::Buttons::Ok);
    EXPECT_TRUE(serviceLogBytes().isEmpty());

    StartModeSilent = true;
    ReportFault(QStringLiteral("Ini Save:  wrong data type"));
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(serviceLogBytes(), "! Fault 415_MainPicture_Config: Ini Save:  wrong data type\r\n");
}

TEST_F(ErrorProtocolTest, AProgramInTheRootFolderLogsThere) {
    platform.folder = QStringLiteral("/");
    EXPECT_EQ(errorLogPath(), QStringLiteral("/JX5cfglog.txt"));
}

struct LogfileCase {
    const char* logfileArgument; // %1: the installation root as the host writes it
    const char* writtenBelowRoot;
    bool written;
};

class IntegratedLogTest : public ErrorProtocolTest,
                          public testing::WithParamInterface<LogfileCase> {};

TEST_P(IntegratedLogTest, FindsTheHostPathWithoutRegardToCase) {
    const LogfileCase& c = GetParam();
    installation.write(QStringLiteral("Logs/Existing.log"), "old\r\n");
    StartModeIntegrated = true;
    // The host writes the path in its own form: drive letter, "\" and (once read) capitals.
    const QString root = installation.root().toUpper().replace(QLatin1Char('/'), QLatin1Char('\\'));
    platform.arguments = QStringLiteral("/EXTERNAL=JX5CFG /LOGFILE=") +
                         QString::fromUtf8(c.logfileArgument).arg(root);
    if (!c.written) {
        EXPECT_THROW(WriteErrorLog(QStringLiteral("line"), false), Failure);
        return;
    }
    const QString confirmation = WriteErrorLog(QStringLiteral("line"), false);
    EXPECT_EQ(confirmation, QStringLiteral("Error logged to \n\r") + GetPathLogfile());
    EXPECT_TRUE(installation.read(QString::fromUtf8(c.writtenBelowRoot)).endsWith("line\r\n"));
    EXPECT_FALSE(QFile::exists(installation.errorLog()));
}

INSTANTIATE_TEST_SUITE_P(
    HostPaths, IntegratedLogTest,
    testing::Values(LogfileCase{"C:%1\\LOGS\\NEW.LOG", "Logs/NEW.LOG", true},
                    LogfileCase{"C:%1\\LOGS/NEW.LOG", "", false}, // cut at the "/"
                    LogfileCase{"C:%1\\logs\\existing.log", "Logs/Existing.log", true},
                    LogfileCase{"C:%1\\MISSING\\A.LOG", "", false},
                    LogfileCase{"C:%1\\LOGS", "", false}, // a folder
                    LogfileCase{"", "", false}));

} // namespace
