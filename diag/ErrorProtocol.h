#pragma once
// The common error protocol: every operation hands its unexpected failures to HandleError,
// which logs them, asks the user (or, in a silent run, writes the service log) and decides.

#include <QString>

struct Failure;

// Writes the failure to the error log, reports it and returns the decision: 1 ends the
// program, 2 resumes. A silent run, from its very start, shows no box: the report goes to the
// service log and the run resumes. A failure while a failure is being handled is said once on
// stderr and does not recurse; the handling goes on with the decision it would have given.
qint32 HandleError(qint32 number, const QString& source, const QString& description,
                   const QString& procedureName, bool fatal);

// Ends the program at once: no further step runs and the dialog's closing path is skipped.
[[noreturn]] void EndProgram();

// Ends the program at once with the run's exit status. A silent run that ends with status 2 (no
// .cfg file) or 4 (a file not read, a store not landed) says so in one line on stderr, naming
// the logs that tell why: nobody saw a box, and a script's user must not have to guess.
[[noreturn]] void endRun(int exitCode);

// What the protocol keeps of a run, for its exit status: whether a file could not be read or
// a store the run is for did not land. noteFailure records a failure before it is handled and
// says whether it is to be told: an unreadable file is told once a run, not once for every
// entry asked of it.
bool noteFailure(const Failure& failure);
bool everythingReadAndStored();
// Back to program start, for a test's next run.
void resetErrorProtocol();
