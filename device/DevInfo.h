#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

// One entry of the device catalogue: the keyboard's USB ids and its two
// vendor-defined interfaces (commands and events).
struct DevInfo
{
    quint16 vid = 0;
    quint16 pid = 0;
    quint16 usagePage = 0;   // command interface
    quint16 usage = 0;
    quint16 usagePage2 = 0;  // event interface
    quint16 usage2 = 0;
    quint32 reportLength = 0; // payload bytes per data report
};

// A discovered device, at the same list position as its catalogue entry.
// An empty path means that interface is not present.
struct HidDevice
{
    QString path;
    QString path2;
    quint32 reportLength = 0;
};

// Catalogue reading from an INI document (the program uses ":/DevInfo.ini").
namespace DevInfoCatalogue {
// Groups are decimal numbers from 0; ids are hexadecimal without prefix,
// "common/total" and "reportLength" decimal. Missing keys read as 0.
QList<DevInfo> read(const QString& iniFile);

// Upper bound on "common/total", so a damaged catalogue cannot make the
// program loop or allocate without limit.
constexpr int maxEntries = 256;
}
