#include "run/HelpTextTable.h"

#include "platform/Failure.h"
#include "platform/Platform.h"

namespace {
constexpr qint32 SubscriptOutOfRange = 9;
} // namespace

QString& HelpTextTable::operator[](qint32 n) {
    if (n < First || n > Last)
        throw Failure{SubscriptOutOfRange, platform::current().executableName(),
                      QStringLiteral("Subscript out of range")};
    return slots_[static_cast<size_t>(n - First)];
}
