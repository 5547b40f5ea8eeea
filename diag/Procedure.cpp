#include "diag/Procedure.h"

#include "core/Failure.h"
#include "diag/ErrorProtocol.h"
#include "run/RunFacts.h"

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
        failure.source = runFacts().executableName;
    readFailed_ = readFailed_ || !failure.unreadable.isEmpty();
    if (!noteFailure(failure))
        return false; // an unreadable file told before
    if (HandleError(failure.number, failure.source, failure.description, name_, false) == 1)
        EndProgram();
    return false;
}

bool Procedure::test(const std::function<bool()>& condition) {
    bool result = true;
    step([&] { result = condition(); });
    return result;
}
