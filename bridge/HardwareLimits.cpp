#include "bridge/HardwareLimits.h"

#include "storage/DataFileCheck.h"

#include <QSettings>

namespace {
// A missing or non-numeric value reads as 0.
uint readUnsigned(const QSettings& ini, const char* key)
{
    bool ok = false;
    const uint v = ini.value(key, 0).toUInt(&ok);
    return ok ? v : 0;
}

bool hasKeys(const QSettings& ini, uint layout)
{
    bool ok = false;
    const int keys = ini.value(QString::number(layout) + "/total_HW", 0).toInt(&ok);
    return ok && keys > 0;
}
}

HardwareLimits HardwareLimits::read(const QString& hwDefFile)
{
    HardwareLimits limits;
    limits.problem = DataFileCheck::unreadable(hwDefFile);
    if (!limits.problem.isEmpty())
        return limits;

    QSettings ini(hwDefFile, QSettings::IniFormat);
    const uint layout = readUnsigned(ini, "common/kbLayoutType");
    limits.hwMode = quint8(layout & 0xFF);
    const uint macros = readUnsigned(ini, "common/maxMacro");
    const uint profiles = readUnsigned(ini, "common/maxProfile");

    // The running program always draws layout 3; the stored layout number
    // names the group read before the keyboard has been asked.
    if (!hasKeys(ini, layout) && !hasKeys(ini, 3)) {
        limits.problem = "it defines no keys";
    } else if (macros == 0) {
        limits.problem = "common/maxMacro is missing, not a number or below 1";
    } else if (profiles == 0) {
        limits.problem = "common/maxProfile is missing, not a number or below 1";
    } else {
        limits.maxMacro = macros <= 254 ? quint8(macros) : 255;
        limits.maxProfile = profiles <= 9 ? quint8(profiles) : 10;
        limits.usable = true;
    }
    return limits;
}
