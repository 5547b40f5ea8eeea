#pragma once
// What every fuzz target needs: a property check that stops the run with its name, and the
// fuzzer's text as bytes.

#include <QByteArray>

#include <cstdio>
#include <cstdlib>
#include <string>

// Stops the run, naming the target and the property that broke.
inline void requireProperty(bool holds, const char* target, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "%s: %s\n", target, property);
    std::abort();
}

inline QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}
