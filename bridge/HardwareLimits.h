#pragma once

#include <QString>
#include <QtGlobal>

// The limits the bridge takes from the hardware definition file when it is
// built: the initial layout number and the device's macro and profile counts.
struct HardwareLimits
{
    quint8 hwMode = 0;
    quint8 maxMacro = 0;    // at most 255
    quint8 maxProfile = 0;  // at most 10

    static HardwareLimits read(const QString& hwDefFile);
};
