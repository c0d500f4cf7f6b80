#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

// Macro action strings and the keyboard's macro format. An action is a left
// part followed by a 10-character tag: a key name with "    [Down]" or
// "      [Up]", or a delay in milliseconds with "   [Delay]".
namespace MacroEncoder {

extern const QString downTag;
extern const QString upTag;
extern const QString delayTag;

// Bytes in pairs, high byte first: 00 01 (start), 01 cc (press), 81 cc
// (release), 7F 00 + delay in 10 ms units, 00 00 (end). Unknown keys, keys
// of code 0, zero or non-numeric delays and unknown tags are left out.
QList<uchar> encode(const QStringList& actions, const QMap<QString, quint8>& keyCodes);

// The 128-byte payload: each pair swapped into a little-endian word, zeros
// after. Bytes beyond 128 are not written.
QByteArray deviceBuffer(const QList<uchar>& encoded);

constexpr int deviceBufferSize = 128;

}
