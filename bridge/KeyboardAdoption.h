#pragma once

#include "bridge/KeyboardDifferences.h"

#include <QMap>
#include <QString>
#include <QStringList>

class MacroLibrary;
class ProfileStore;

// "Use the keyboard's": what the keyboard holds where it differs from the
// program becomes the program's, in the current profile's file and the
// macro library. Nothing of the user's is deleted: a macro file the
// keyboard no longer holds in its slot stays in the library, unbound.
namespace KeyboardAdoption {

// The profile key that keeps the GAMING MODE the profile was last used with
// (1 on, 0 off).
extern const QString gamingModeKey;

struct Result
{
    // Every part written.
    bool ok = true;
    // Macro files made from slots no file held.
    QStringList newMacros;
    // What could not be taken, one short English phrase each.
    QStringList problems;
};

struct Target
{
    ProfileStore* profiles = nullptr;
    QString keyGroup;  // "keydefine<layout>/"
    MacroLibrary* library = nullptr;
    QMap<QString, quint8> keyCodes;
    uint deviceIndex = 0;
};

// The key pairs (shift undone; position 93 keeps ownCodes' entry) when the
// keys differ, the GAMING MODE when it was read, and every differing macro
// slot: an empty slot unbinds its file; a slot holding a macro is bound to
// an unbound file that sends the same, or to a new file "Slot <n>" decoded
// from the slot; a slot that cannot be decoded is left as it is (a problem).
Result adopt(const KeyboardDifferences::Keyboard& keyboard, const KeyboardDifferences::Found& found,
             const QVector<int>& ownCodes, const Target& target);

// The name a slot's macro gets in the library.
QString slotMacroName(int slot);

}
