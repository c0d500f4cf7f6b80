#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

// The keyboard's 128-byte macro slot payload, as a slot read returns it,
// back into macro action strings: the inverse of MacroEncoder::encode
// followed by MacroEncoder::deviceBuffer. The payload holds little-endian
// words: 0x0001 (start, first), 0x01cc (press key cc), 0x81cc (release key
// cc), 0x7F00 followed by one word d (pause of d × 10 ms), 0x0000 (end).
namespace MacroDecoder {

struct Decoded
{
    // True when the payload decoded, or when it is an empty slot.
    bool ok = false;
    // The actions in order: key name + MacroEncoder::downTag or upTag, or
    // the pause in milliseconds (d × 10) + MacroEncoder::delayTag. A pause
    // the encoder wrote as 0 units (a delay under 10 ms) reads "0".
    QStringList actions;
    // What could not be decoded, a short English phrase; empty when ok.
    QString problem;
    // True for an empty slot: every byte zero (or no bytes at all). A start
    // marker directly followed by the end marker is a macro without
    // actions, not an empty slot.
    bool empty = false;
};

// Reads at most the first MacroEncoder::deviceBufferSize bytes of `payload`,
// never past its size; an odd last byte is not part of a word. Decoding
// stops at the end marker; the bytes after it are not looked at.
// A key code is named by inverting `keyCodes` (the table the encoder
// takes); when several names share a code, the first of them in the map's
// order (the name that sorts first) is used. Code 0 has no name, since the
// encoder never writes it.
// Not ok, with no actions, when:
//  - the first word is not the start marker: "no start marker";
//  - a word is none of the above (a pair is shown high byte first, as the
//    encoder lists it; the byte is its offset in the payload):
//    "unknown pair 05 12 at byte 6";
//  - a press or release names a code the table has no name for:
//    "no name for key code 0xA5";
//  - the payload ends before the end marker, also between a pause and its
//    value: "no end marker".
Decoded decode(const QByteArray& payload, const QMap<QString, quint8>& keyCodes);

}
