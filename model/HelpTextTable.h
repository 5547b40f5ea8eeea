#pragma once
// The help texts of the dialog's controls, slots 1 to 100 by help number (WhatsThisHelpID),
// each kept exactly as read ("0" included). All empty until LoadToolTipTexts fills them.

#include <QString>

#include <array>

class HelpTextTable {
public:
    static constexpr int First = 1;
    static constexpr int Last = 100;

    // Slot n. A number outside 1..100 raises "Subscript out of range" (9).
    QString& operator[](qint32 n);

private:
    std::array<QString, Last - First + 1> slots_;
};
