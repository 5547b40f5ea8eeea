#pragma once
// The resume-next error protocol as one small mechanism. An operation creates a Procedure
// under its own name and runs each of its steps through it:
//
//     Procedure procedure("GetOCXName");
//     QString name;
//     procedure.step([&] { name = componentName(); });
//
// A step that fails is handed to HandleError; on the decision 1 the program ends at once,
// otherwise the operation goes on with its next step, and whatever the failed step was to
// produce keeps its previous value. Ending at once is not an exception of ours, so it passes
// through a Procedure untouched and is never resumed. A file that could not be read is told
// once a run; every time it fails a step, the run counts a failed read (RunState).

#include <QString>

#include <functional>

class Procedure {
public:
    explicit Procedure(const char* name) : name_(QString::fromLatin1(name)) {}

    // Runs one step; true when it succeeded, false when it failed and was resumed.
    bool step(const std::function<void()>& body);

    // The test of a condition. A test that fails and is resumed lets the guarded step run,
    // so it counts as true.
    bool test(const std::function<bool()>& condition);

    const QString& name() const { return name_; }

private:
    QString name_;
};
