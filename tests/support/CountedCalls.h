#pragma once
// The system-call table with every call counted, for fault loops: a hook runs before call
// hookAt (another writer stepping in then), and call failAt fails with failWith. A failed close
// still closes, as the system's does: the descriptor is gone whatever close answers.

#include <cstddef>
#include <functional>

struct CallFaults {
    int calls = 0, hookAt = 0, failAt = 0, failWith = 0;
    std::function<void()> hook;
    size_t writeLimit = 0; // a limit makes every write a short one
    int renamedAt = 0;     // the number of the last rename that replaced a file
};

// The faults of the calls now counted; cleared whenever counting starts.
CallFaults& callFaults();

// Counts (and fails) the calls for as long as it lives, then puts the real calls back.
class CountedCalls {
public:
    CountedCalls();
    ~CountedCalls();
    CountedCalls(const CountedCalls&) = delete;
    CountedCalls& operator=(const CountedCalls&) = delete;
};
