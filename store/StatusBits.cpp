#include "store/StatusBits.h"

#include "core/Failure.h"
#include "diag/Procedure.h"

#include <limits>

namespace {
// The weight of a bit, taken in 32 bits. Bit numbers outside 0..30 are never passed; they
// weigh nothing rather than shift out of range.
qint32 weightOf(qint16 bitNumber) {
    return bitNumber >= 0 && bitNumber <= 30 ? qint32{1} << bitNumber : 0;
}

bool isSet(qint16 value, qint16 bitNumber) {
    return (static_cast<qint32>(value) & weightOf(bitNumber)) != 0;
}
} // namespace

qint16 ReadBit(qint16 value, qint16 bitNumber) {
    Procedure procedure("ReadBit");
    qint16 bit = 0;
    procedure.step([&] { bit = isSet(value, bitNumber) ? 1 : 0; });
    return bit;
}

qint16 WriteBit(qint16 value, qint16 bitNumber, qint16 bitValue) {
    Procedure procedure("WriteBit");
    qint16 result = value;
    procedure.step([&] {
        qint32 changed = value;
        if (bitValue == 1 && !isSet(value, bitNumber))
            changed = value + weightOf(bitNumber);
        else if (bitValue != 1 && isSet(value, bitNumber))
            changed = value - weightOf(bitNumber);
        if (changed < std::numeric_limits<qint16>::min() ||
            changed > std::numeric_limits<qint16>::max())
            raiseFailure(Overflow);
        result = static_cast<qint16>(changed);
    });
    return result;
}
