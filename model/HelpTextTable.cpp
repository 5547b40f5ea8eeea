#include "model/HelpTextTable.h"

#include "core/Failure.h"

QString& HelpTextTable::operator[](qint32 n) {
    if (n < First || n > Last)
        raiseFailure(SubscriptOutOfRange);
    return slots_[static_cast<size_t>(n - First)];
}
