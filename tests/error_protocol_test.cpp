// The error protocol, the logs and the resume-next mechanism: exact texts on screen and on
// disk, the decision, and the failures that arise while a failure is handled.

#include "core/Failure.h"
#include "diag/ErrorProtocol.h"
#include "diag/Logs.h"
#include "diag/Procedure.h"
#include "dialog/StartMode.h"
#include "support/ProgramFixture.h"

#include <cerrno>

using platform::Answer;

namespace {

class ErrorProtocolTest : public ProgramFixture {
protected:
    static qint32 handle(const char* description, bool fatal = false) {
        return HandleError(6, u"s"_s, QString::fromUtf8(description), u"A"_s, fatal);
    }
    QString loggedTo() const {
        return u"Error logged to \n\r"_s + installation.errorLog().toUpper();
    }
};

TEST_F(ErrorProtocolTest, LogsTheLineAndAsksWhetherToResume) {
    EXPECT_EQ(handle("Overflow"), 2);
    EXPECT_EQ(installation.read(u"JX5cfglog.txt"_s),
              "Fehler in 415_MainPicture / s / A (Nr. 6) :Overflow\r\n");
    ASSERT_EQ(platform.boxes.size(), 1u);
    const RecordedBox& box = platform.boxes[0];
    EXPECT_EQ(box.title, u"Unexpected error"_s);
    EXPECT_EQ(box.text, u"Unexpected error!\n\rOverflow\n\r"_s + loggedTo() + u"\n\rResume?"_s);
    EXPECT_TRUE(box.icon == platform::Icon::Critical && box.buttons == platform::Buttons::YesNo &&
                box.defaultButton == Answer::Yes);
    // No ends; a fatal failure offers OK only and ends. Lines are appended in the code page.
    platform.answers = {Answer::No};
    EXPECT_EQ(handle("Größe €"), 1);
    EXPECT_EQ(handle("x", true), 1);
    EXPECT_TRUE(platform.boxes[2].title == u"Fatal error"_s &&
                platform.boxes[2].buttons == platform::Buttons::Ok);
    EXPECT_EQ(errorLogEntries().value(1), "Fehler in 415_MainPicture / s / A (Nr. 6) :Gr\xf6\xdf"
                                          "e \x80");
}

TEST_F(ErrorProtocolTest, SilentRunLogsTwiceAndResumesWithoutABox) {
    ReportFault(u"Ini Save:  wrong data type"_s);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(platform.boxes[0].title == u"415_MainPicture_Config"_s &&
                platform.boxes[0].buttons == platform::Buttons::Ok);
    StartModeSilent = true;
    EXPECT_EQ(handle("Overflow"), 2);
    ReportFault(u"Ini Save:  wrong data type"_s);
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(errorLogEntries().size(), 1);
    EXPECT_EQ(installation.read(u"service.log"_s),
              "! Fault 415_MainPicture_Config: Unexpected error!\n\rOverflow\n\r" +
                  loggedTo().toLatin1() +
                  "\r\n! Fault 415_MainPicture_Config: Ini Save:  wrong data type\r\n");
}

// A box that cannot be shown while a failure is handled does not loop; an executable name too
// short for a component's leaves the name empty in the line.
TEST_F(ErrorProtocolTest, AFailureWhileHandlingDoesNotRecurse) {
    platform.name = u"_Confi"_s;
    refreshFacts();
    platform.failNext(u"messageBox"_s, 5);
    EXPECT_EQ(handle("Overflow"), 2);
    EXPECT_EQ(errorLogEntries(), QByteArrayList{"Fehler in  / s / A (Nr. 6) :Overflow"});
}

TEST_F(ErrorProtocolTest, AFailedStepResumesWithTheNextStepUnlessTheAnswerIsNo) {
    Procedure procedure("LoadIniString");
    QString value = u"before"_s;
    EXPECT_FALSE(procedure.step([&] {
        raiseFailure(Overflow);
        value = u"after"_s;
    }));
    EXPECT_EQ(value, u"before"_s);
    EXPECT_TRUE(procedure.step([&] { value = u"next"_s; }));
    EXPECT_EQ(value, u"next"_s);
    procedure.step([] { throw std::bad_alloc(); });
    EXPECT_TRUE(errorLogEntries().value(0).endsWith("/ LoadIniString (Nr. 6) :Overflow"));
    EXPECT_TRUE(errorLogEntries().value(1).endsWith("(Nr. 7) :Out of memory"));
    // A failed test that is resumed lets the guarded step run: it counts as true.
    EXPECT_TRUE(procedure.test([]() -> bool { raiseFailure(PathNotFound); }));
    EXPECT_FALSE(procedure.test([] { return false; }));
    // Answering No ends at once: no later step runs.
    platform.answers = {Answer::No};
    bool laterStepRan = false;
    EXPECT_THROW(
        {
            procedure.step([] { raiseFailure(Overflow); });
            laterStepRan = true;
        },
        EndAtOnce);
    EXPECT_FALSE(laterStepRan);
    EXPECT_EQ(platform.endedWith, platform::ExitEndProgram);
    // Ending at once inside a step is never caught and resumed.
    EXPECT_THROW(procedure.step([] { EndProgram(); }), EndAtOnce);
    EXPECT_EQ(platform.boxes.size(), 4u);
}

// A file's name can neither break a log entry into lines nor forge one.
TEST_F(ErrorProtocolTest, AFileNameIsShownWithItsControlCharactersWrittenOut) {
    try {
        raiseReadFailure(u"/in\r\nst\x1b/Program.ini"_s, ENOSPC);
        ADD_FAILURE();
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.description,
                  u"Could not read /in<CR><LF>st<0x1B>/Program.ini: No space left on device"_s);
    }
}

} // namespace
