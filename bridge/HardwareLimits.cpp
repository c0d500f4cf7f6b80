#include "bridge/HardwareLimits.h"

#include <QSettings>

namespace {
// A missing or non-numeric value reads as 0.
uint readUnsigned(const QSettings& ini, const char* key)
{
    bool ok = false;
    const uint v = ini.value(key, 0).toUInt(&ok);
    return ok ? v : 0;
}
}

HardwareLimits HardwareLimits::read(const QString& hwDefFile)
{
    QSettings ini(hwDefFile, QSettings::IniFormat);
    HardwareLimits limits;
    limits.hwMode = quint8(readUnsigned(ini, "common/kbLayoutType") & 0xFF);
    const uint macros = readUnsigned(ini, "common/maxMacro");
    limits.maxMacro = macros <= 254 ? quint8(macros) : 255;
    const uint profiles = readUnsigned(ini, "common/maxProfile");
    limits.maxProfile = profiles <= 9 ? quint8(profiles) : 10;
    return limits;
}
