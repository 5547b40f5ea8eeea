#pragma once
// The one seam between the program and its operating system. Everything the program asks of
// the machine - profile files, message boxes, the mouse pointer, file tests, log appends, the
// command line, the environment, its version and ending the process - goes through here, so
// that tests can script answers, inject failures and watch an "end at once" without dying.

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
    ExitNotStored = 4,   // the options or the edit record could not be stored
};

class Platform {
public:
    virtual ~Platform() = default;

    // --- Profile functions. Section, key and value are bytes in the 8-bit code page; the file
    // is a native path. They behave as the Windows profile functions of the same name.

    // Copies at most bufferSize - 1 characters of the entry's value; a missing file, section
    // or key gives the default with its trailing blanks stripped. The copied text's length is
    // the function's result.
    virtual QByteArray getPrivateProfileString(const QByteArray& section, const QByteArray& key,
                                               const QByteArray& defaultValue, int bufferSize,
                                               const QString& file) = 0;
    // Sign and leading digits of the value, wrapping modulo 2^32; a missing entry gives the
    // default, a value that is not a number gives 0.
    virtual qint32 getPrivateProfileInt(const QByteArray& section, const QByteArray& key,
                                        qint32 defaultValue, const QString& file) = 0;
    // Writes key=value into the section, or removes the key when value is empty (no text at
    // all). Returns nonzero on success, 0 when the file cannot be written.
    virtual int writePrivateProfileString(const QByteArray& section, const QByteArray& key,
                                          const std::optional<QByteArray>& value,
                                          const QString& file) = 0;
    // Why the last profile write returned 0, as the system's error number (errno): no space,
    // permission denied, read-only file system, not found, ... 0 after a success.
    virtual int lastWriteError() = 0;
    // Why the last profile read could not read its file (errno); 0 when it read the file or
    // the file is simply not there. A read that could not read gave the default, as a missing
    // entry does, so the caller must look here before it builds anything on the value.
    virtual int lastReadError() = 0;
    // Holds the lock of the folder that file lies in, which every save there honours, until
    // releaseFolderLock: a value read, changed and stored meanwhile is one step for every
    // tool that honours the lock. 0 or errno (ETIMEDOUT: another program kept it locked).
    virtual int holdFolderLock(const QString& file) = 0;
    virtual void releaseFolderLock() = 0;

    // --- Files. An ordinary file exists at path (folders do not count). May throw Failure.
    virtual bool isOrdinaryFile(const QString& path) = 0;
    // Why there is no ordinary file at path (errno: ENOENT, EISDIR, ELOOP, EACCES, ...;
    // EINVAL for a pipe, device or socket), or 0 when there is one.
    virtual int whyNoOrdinaryFile(const QString& path) = 0;
    // Appends bytes to a text file, creating it when missing. Throws Failure when it cannot.
    virtual void appendToFile(const QString& path, const QByteArray& bytes) = 0;

    // --- User interface.
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
    // The executable's file name without its extension.
    virtual QString executableName() = 0;
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

} // namespace platform
