#include "diag/Procedure.h"

#include "diag/ErrorProtocol.h"
#include "platform/Failure.h"
#include "run/RunState.h"

#include <exception>
#include <new>

bool Procedure::step(const std::function<void()>& body) {
    Failure failure;
    try {
        body();
        return true;
    } catch (const Failure& raised) {
        failure = raised;
    } catch (const std::bad_alloc&) {
        failure = {OutOfMemory, QString(), failureDescription(OutOfMemory)};
    } catch (const std::exception& other) {
        failure = {InternalError, QString(), QString::fromLocal8Bit(other.what())};
    }
    if (failure.source.isEmpty())
        failure.source = currentExecutableName();
    if (!failure.unreadable.isEmpty()) {
        // Nothing the run stores may rest on what it could not read, and the exit status says
        // so. An unreadable file is told once, not once for every entry asked of it.
        ++Run.failedReads;
        Run.storeMissed = true;
        if (Run.unreadableFiles.contains(failure.unreadable))
            return false;
        Run.unreadableFiles.insert(failure.unreadable);
    }
    if (HandleError(failure.number, failure.source, failure.description, name_, false) == 1)
        EndProgram();
    return false;
}

bool Procedure::test(const std::function<bool()>& condition) {
    bool result = true;
    step([&] { result = condition(); });
    return result;
}
