#pragma once
// Single bits of the 16-bit option value MainPictureStatus.

#include <QtGlobal>

// 1 when the bit is set, 0 when clear.
qint16 ReadBit(qint16 value, qint16 bitNumber);

// The value with the bit set (bit value exactly 1) or cleared (any other bit value). A result
// outside the 16-bit range (bit 15) is an overflow failure; resumed, the value is unchanged.
qint16 WriteBit(qint16 value, qint16 bitNumber, qint16 bitValue);
