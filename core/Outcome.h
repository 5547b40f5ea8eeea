#pragma once
// What a read or a write came to, as the value the caller receives: it cannot be asked for
// later, and dropping it draws a warning.

#include <QString>

// A call on a file: its value, and why it could not do what was asked (the system's error
// number, 0 when it could). A value that was not read is the fallback the call gives then (a
// read's default, a write's 0), and nothing may be built on it.
template <typename T> struct [[nodiscard]] FileOutcome {
    T value{};
    int error = 0;
    // The folder another program kept locked, when that is why a write failed (ETIMEDOUT).
    QString lockedFolder = {};
};

// A value an operation read, and whether all it rests on could be read. A value that was not
// read is the one the operation resumed with (empty text, 0): shown perhaps, never stored.
template <typename T> struct [[nodiscard]] Read {
    T value{};
    bool unread = false;
};
