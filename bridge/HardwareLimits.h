#pragma once

#include <QString>
#include <QtGlobal>

// The limits the bridge takes from the hardware definition file when it is
// built: the initial layout number and the device's macro and profile counts.
//
// A definition that yields no usable limits (no readable file, no keys, a
// macro or profile count that is missing, not a number or below 1) is
// unusable: its counts read as 0 and `problem` says what is wrong. Nothing
// may be created or removed on the strength of an unusable definition.
struct HardwareLimits
{
    quint8 hwMode = 0;
    quint8 maxMacro = 0;    // at most 255
    quint8 maxProfile = 0;  // at most 10
    bool usable = false;
    QString problem;

    static HardwareLimits read(const QString& hwDefFile);
};
