#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QSet>
#include <QString>
#include <QVector>

// What the keyboard holds for the current profile set beside what the
// program holds for it: the key matrix, GAMING MODE and the macro slots the
// keys point at. Plain values in, a list of differences out; reading the
// keyboard and writing files are the caller's.
//
// Key codes are 16 bits per matrix position: the top nibble 4 marks a macro
// key whose low byte is its slot. The keyboard holds position 93's code in
// position 77's place and so on (its fixed entry shift): keyboard 61, 77 and
// 93 hold profile positions 45, 61 and 77, and profile position 93 is not
// held at all.
namespace KeyboardDifferences {

constexpr int positions = 128;
constexpr int matrixBytes = 2 * positions;

// The program's side of the current profile.
struct Program
{
    // 128 codes: the profile's pairs, a position without one its default.
    QVector<int> codes;
    // 1 or 0 when the profile expects GAMING MODE on or off, -1 when it
    // expects nothing.
    int gamingMode = -1;
    // Slot → the 128 bytes its bound macro file sends. A slot without a
    // bound file is missing; a slot whose macro is too long to send is in
    // `unsendable`.
    QMap<int, QByteArray> macros;
    QSet<int> unsendable;
};

// What could be read from the keyboard. A part that could not be read is
// not compared.
struct Keyboard
{
    bool matrixKnown = false;
    QByteArray matrix;  // 256 bytes as 8CH and 8DH return them
    bool modeKnown = false;
    int mode = 0;  // the first option byte; non-zero is GAMING MODE
    QMap<int, QByteArray> macros;  // slot → 128 bytes as 90H returns them
};

struct Found
{
    bool keys = false;
    bool gamingMode = false;
    QList<int> macroSlots;  // ascending
    bool any() const { return keys || gamingMode || !macroSlots.isEmpty(); }
};

// The codes of a 256-byte matrix (low byte first), positions in order.
QVector<int> codesOf(const QByteArray& matrix256);
// The keyboard's matrix back in profile positions, the shift undone;
// position 93, which the keyboard does not hold, comes from `own`.
QVector<int> profileCodesFromKeyboard(const QByteArray& matrix256, const QVector<int>& own);
// The 256 bytes the keyboard holds after the profile's codes were sent.
QByteArray keyboardMatrixOf(const QVector<int>& codes);

// The slots of the macro keys among codes, below slotCount, ascending.
QList<int> macroSlotsOf(const QVector<int>& codes, int slotCount);
// The macro keys' repeat mode (bits 11-8) for slot, from the first key
// pointing at it; -1 when none does.
int repeatModeOf(const QVector<int>& codes, int slot);

// The slots whose contents matter: those the profile's keys or the
// keyboard's keys point at.
QList<int> slotsToRead(const Program& program, const QByteArray& keyboardMatrix, int slotCount);

// Two macro slot payloads that make the keyboard do the same: both decode
// to the same actions (an empty slot and a macro without actions alike), or,
// where either cannot be decoded, the same bytes.
bool sameMacro(const QByteArray& a, const QByteArray& b, const QMap<QString, quint8>& keyCodes);
// A slot that makes the keyboard do nothing.
bool blankMacro(const QByteArray& payload, const QMap<QString, quint8>& keyCodes);

Found compare(const Program& program, const Keyboard& keyboard, const QMap<QString, quint8>& keyCodes);

}
