#pragma once

#include "bridge/KeyboardAdoption.h"
#include "bridge/KeyboardDifferences.h"

#include <QMap>
#include <QString>
#include <QVector>

#include <functional>

class Hid_Thread;
class MacroLibrary;
class ProfileStore;

// Reads what the keyboard holds for the current profile (key matrix, option
// bytes, the macro slots the keys of either side point at), compares it with
// the profile file and the macro library, and keeps that reading until the
// user chooses which side wins.
class KeyboardCheck
{
public:
    struct Sources
    {
        Hid_Thread* hid = nullptr;
        ProfileStore* profiles = nullptr;
        MacroLibrary* library = nullptr;
        QString keyGroup;      // "keydefine<layout>/"
        QVector<int> defaults; // a position's code when the profile holds none
        QMap<QString, quint8> keyCodes;
        int slotCount = 0;     // the keyboard's macro slots
        uint deviceIndex = 0;
        // Called after each read, to count it into the current user action.
        std::function<void()> afterRead;
    };

    // The program's side of the current profile: codes and the GAMING MODE
    // it expects. A profile that keeps no GAMING MODE expects it on when a
    // key differs from its default (assignments work only in GAMING MODE),
    // and nothing otherwise.
    static KeyboardDifferences::Program programSide(const Sources& sources);
    // What the macro bound to each of slotList sends.
    static void addMacros(KeyboardDifferences::Program& program, const Sources& sources,
                          const QList<int>& slotList);

    // Reads and compares. A read that fails ends it with nothing found
    // (the failure is the current user action's). The reading is kept for
    // adopt() when anything differs.
    KeyboardDifferences::Found run(const Sources& sources);

    // True while a reading with differences is kept for `profile`.
    bool pending(int profile) const;
    // The GAMING MODE the kept reading's profile expects (1, 0), -1 for none.
    int expectedGamingMode() const { return kept.expectedMode; }
    // Takes the kept reading into the files, then forgets it. Nothing is
    // written when the current profile is not the one that was read.
    KeyboardAdoption::Result adopt(const Sources& sources);
    void forget();

private:
    struct Reading
    {
        bool valid = false;
        int profile = -1;
        KeyboardDifferences::Keyboard keyboard;
        KeyboardDifferences::Found found;
        QVector<int> codes;
        int expectedMode = -1;
    };
    Reading kept;
};
