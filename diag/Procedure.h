#pragma once
// The resume-next error protocol as one small mechanism. An operation creates a Procedure
// under its own name and runs each of its steps through it:
//
//     Procedure procedure("GetOCXName");
//     QString name;
//     procedure.step([&] { name = runFacts().componentName; });
//
// A step that fails is handed to HandleError; on the decision 1 the program ends at once,
// otherwise the operation goes on with its next step, and whatever the failed step was to
// produce keeps its previous value. Ending at once is not an exception of ours, so it passes
// through a Procedure untouched and is never resumed.
//
// A step that fails on a file that could not be read, and a Read that an operation takes from
// another one and that was not read, mark the operation's own result as not read: it returns
// that with its value (readFailed), so that nothing is built on it.

#include "core/Outcome.h"

#include <QString>

#include <functional>

class Procedure {
public:
    explicit Procedure(const char* name) : name_(QString::fromLatin1(name)) {}
    explicit Procedure(QString name) : name_(std::move(name)) {}

    // Runs one step; true when it succeeded, false when it failed and was resumed.
    bool step(const std::function<void()>& body);

    // The test of a condition. A test that fails and is resumed lets the guarded step run,
    // so it counts as true.
    bool test(const std::function<bool()>& condition);

    // The value of another operation's read; one that was not read marks this one's too.
    template <typename T> T take(const Read<T>& read) {
        readFailed_ = readFailed_ || read.unread;
        return read.value;
    }
    template <typename T> Read<T> result(T value) const { return {std::move(value), readFailed_}; }
    bool readFailed() const { return readFailed_; }

    const QString& name() const { return name_; }

private:
    QString name_;
    bool readFailed_ = false;
};
