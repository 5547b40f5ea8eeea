#pragma once
// The options from a script, for a fleet of machines: "--show" prints the installation's five
// options, "--show --json" the same as one JSON object, and "--set name=on|off[,...]" stores
// those bits through OK's own path (the folder's lock, the re-read of the file it writes, the
// safe save, the edit record) and prints "changed" or "unchanged". A command line whose first
// argument is "--show" or "--set" is one of these forms; any other is read by the switch rules.
// Both run without a window and never wait for a person.

#include <QStringList>

#include <array>
#include <optional>

// The options' names a person can type, bit 0 first.
inline constexpr std::array<const char*, 5> OptionNames = {
    "labelling-unit", "bobbins-left", "no-bobbins", "bobbins-right-thread-at-machine", "no-thread"};

// What a --set list asks for, bit by bit (none: the bit stays as the file has it), or the
// one-line reason the list is refused: an unknown name, a value other than on/off, a name given
// twice, an empty list or item.
struct OptionsRequest {
    std::array<std::optional<bool>, 5> bits{};
    QString refusal;
};
OptionsRequest parseOptionsList(const QString& list);

// Answers a --show or --set command line (the arguments after the program's own path) and
// returns the exit status; nullopt when the command line is none of these forms. The platform
// and the run's facts must be installed; the run is made unattended. A command line of one of
// these forms that is not well made is refused with one line on stderr and status 64
// (EX_USAGE), nothing read or written.
std::optional<int> answerOptionsRequest(const QStringList& arguments);
