#pragma once
// The one seam between the program and its machine. Everything the program asks of it - the
// profile files, file tests, log appends, message boxes, the mouse pointer, the command line,
// the environment, its version and ending the process - goes through here, so that tests can
// script answers, inject failures and watch an "end at once" without dying. What a file call
// came to is its result: the value and the system's reason when it could not be done.

#include "core/Outcome.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

enum class Icon { Critical, Exclamation, Information };
enum class Buttons { Ok, YesNo };
enum class Answer { Ok, Yes, No };
enum class Pointer { Default, Hourglass };

struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};

// Exit codes of the process. The program itself sets none after OK or a confirmed cancel.
enum ExitCode : int {
    ExitNormal = 0,
    ExitEndProgram = 1,  // the error protocol decided to end
    ExitFileMissing = 2, // the component's .cfg file is missing
    ExitNoDisplay = 3,   // an interactive start found no display
    ExitNotStored = 4,   // a file could not be read, or a store the run is for did not land
    ExitUsage = 64,      // a --show or --set command line that is not well made (EX_USAGE)
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- Profile functions. Section, key and value are bytes in the 8-bit code page; the file
    // is a native path. They behave as the Windows profile functions of the same name, and
    // tell why they gave the default (the file could not be read) or 0 (it could not be
    // written): platform/ProfileFiles.h.
    virtual FileOutcome<QByteArray> getPrivateProfileString(const QByteArray& section,
                                                            const QByteArray& key,
                                                            const QByteArray& defaultValue,
                                                            int bufferSize,
                                                            const QString& file) = 0;
    virtual FileOutcome<qint32> getPrivateProfileInt(const QByteArray& section,
                                                     const QByteArray& key, qint32 defaultValue,
                                                     const QString& file) = 0;
    virtual FileOutcome<int> writePrivateProfileString(const QByteArray& section,
                                                       const QByteArray& key,
                                                       const std::optional<QByteArray>& value,
                                                       const QString& file) = 0;
    // Holds the lock of the folder that file lies in, which every save there honours, until
    // releaseFolderLock: a value read, changed and stored meanwhile is one step for every
    // tool that honours the lock (files/SafeFile.h, FolderLocks).
    virtual FileOutcome<bool> holdFolderLock(const QString& file) = 0;
    virtual void releaseFolderLock() = 0;

    // --- Files.
    // The existence test: true for an ordinary file at path (links followed), false when
    // nothing is there or a folder is. Anything else in a file's place (a pipe, a socket, a
    // device, a loop of links) and a look that fails give the system's reason: it is there,
    // and it must not pass for missing.
    virtual FileOutcome<bool> isOrdinaryFile(const QString& path) = 0;
    // Why there is no ordinary file at path (errno: ENOENT, EISDIR, ELOOP, EACCES, ...;
    // EINVAL for a pipe, device or socket), or 0 when there is one.
    virtual int whyNoOrdinaryFile(const QString& path) = 0;
    // Appends bytes to a text file, creating it when missing, whole or not at all
    // (files/LogAppend.h). 0, or the system's reason.
    [[nodiscard]] virtual int appendToFile(const QString& path, const QByteArray& bytes) = 0;

    // --- The person in front of the screen. A platform without a screen (a silent run) shows
    // no box: it says on stderr what it would have shown and returns the default button.
    virtual Answer messageBox(const QString& text, const QString& title, Icon icon, Buttons buttons,
                              Answer defaultButton) = 0;
    virtual void setMousePointer(Pointer pointer) = 0;
    virtual void processPendingEvents() = 0;

    // --- The process.
    // Everything after the program's own path, the arguments joined by single blanks.
    virtual QString commandLineArguments() = 0;
    // The folder that holds the running executable, without a trailing separator unless it
    // is the root folder.
    virtual QString programFolder() = 0;
    // The executable's file name as it stands on disk (with its extension, where it has one).
    virtual QString executableFileName() = 0;
    // The first entry of the process environment, "name=value", or empty text.
    virtual QString firstEnvironmentEntry() = 0;
    virtual std::optional<QString> environmentValue(const QString& name) = 0;
    virtual Version version() = 0;
    // Ends the process at once: no further step runs, no window is closed.
    [[noreturn]] virtual void endProcess(int exitCode) = 0;
};

// The platform the program runs on: main() installs the real one, tests a scripted one. There
// is none before that; asking for it then says so on stderr and aborts.
Platform& current();
void install(Platform* platform);

// Ends the process at once through the current platform; never returns.
[[noreturn]] void endAtOnce(int exitCode);

// The executable's name without its extension. Linux names have none: only a final ".exe"
// (any letter case), as a copy from the home platform may carry, is dropped; any other dot
// belongs to the name ("Line.2_Config" stays whole).
QString withoutExeExtension(const QString& fileName);

} // namespace platform
